#pragma once

#include <sim/protocol/Json.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim::driver {

using protocol::Json;

// A JSON Pointer (RFC 6901): "" is the whole document, "/a/0/b" walks object members and array
// elements; in a member name ~1 stands for "/" and ~0 for "~". Array indices are "0" or a number
// without leading zeros; "-" (the element after the last) never names a value.
class JsonPointer {
public:
    // nullopt when `text` is not a pointer (does not start with "/", or a "~" not followed by 0 or 1).
    static std::optional<JsonPointer> parse(std::string_view text);

    // The value the pointer names in `document`, or nullptr when there is none.
    const Json* resolve(const Json& document) const;

    const std::vector<std::string>& tokens() const { return m_tokens; }
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
    std::vector<std::string> m_tokens;
};

}
