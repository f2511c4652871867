#pragma once

#include <runtime/Object.h>

#include <string>
#include <string_view>

namespace foundation {

// The old-style property-list text Foundation's descriptions use for collections.
class PropertyListText {
public:
    // `object` as it appears inside a collection at nesting `level`: strings quoted when needed,
    // collections laid out with their own indentation, anything else its description().
    static void appendValue(std::string& out, const runtime::Object& object, unsigned level);
    // A string quoted and escaped if it holds anything beyond [A-Za-z0-9_.$/:-] or is empty.
    static void appendString(std::string& out, std::string_view text);
    static void appendIndent(std::string& out, unsigned level) { out.append(size_t(level) * 4, ' '); }

    // Descriptions stop descending here, so a collection that contains itself prints instead
    // of exhausting the stack.
    static constexpr unsigned maximumLevel = 256;
};

}
