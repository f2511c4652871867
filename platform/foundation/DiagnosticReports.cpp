#include <foundation/DiagnosticReports.h>

#include <algorithm>
#include <memory>

namespace foundation {

namespace {

struct Registration {
    std::string name;
    DiagnosticReports::Producer producer;
    std::shared_ptr<int> identity;
};

std::vector<Registration>& registrations()
{
    // Never destroyed: tokens of libraries unloaded at exit may still go after static destruction.
    static auto* list = new std::vector<Registration>;
    return *list;
}

}

ObserverToken DiagnosticReports::registerReport(std::string name, Producer producer)
{
    auto identity = std::make_shared<int>(0);
    registrations().push_back({ std::move(name), std::move(producer), identity });
    return ObserverToken([identity] {
        auto& list = registrations();
        list.erase(std::remove_if(list.begin(), list.end(), [&](const Registration& entry) { return entry.identity == identity; }), list.end());
    });
}

runtime::RefPtr<runtime::Object> DiagnosticReports::report(std::string_view name)
{
    // The latest registration of the name wins; copied out first, so a producer may register.
    Producer producer;
    for (auto& entry : registrations()) {
        if (entry.name == name)
            producer = entry.producer;
    }
    return producer ? producer() : nullptr;
}

std::vector<std::string> DiagnosticReports::names()
{
    std::vector<std::string> names;
    for (auto& entry : registrations()) {
        if (std::find(names.begin(), names.end(), entry.name) == names.end())
            names.push_back(entry.name);
    }
    return names;
}

}
