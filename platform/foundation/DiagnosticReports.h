#pragma once

// Named reports about a process's state that any code loaded in it may offer, for diagnostic
// tools (a crash reporter, a state dump, a debugging console) to read without knowing who offers
// them. A report is produced on request as a property-list value, so it always tells the state of
// the moment. Registration returns a token: the report goes when the token does (an add-on that
// is unloaded takes its reports with it).

#include <foundation/ObserverToken.h>
#include <runtime/Object.h>
#include <runtime/RefPtr.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

class DiagnosticReports {
public:
    using Producer = std::function<runtime::RefPtr<runtime::Object>()>;

    // Offers the report `name`; a later registration of the same name replaces it until its token
    // goes.
    static ObserverToken registerReport(std::string name, Producer);
    // The report's value now; nullptr when nobody offers it.
    static runtime::RefPtr<runtime::Object> report(std::string_view name);
    static std::vector<std::string> names();
};

}
