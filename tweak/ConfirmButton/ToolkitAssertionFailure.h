#pragma once

// What the colour toolkit raises when a caller breaks a precondition (asking a CMYK colour for its
// red, say): the internal-inconsistency exception the platform's assertion handler raises. Keeping
// to the preconditions is the caller's duty, so nothing in the add-on catches it.

#include <stdexcept>
#include <string>
#include <string_view>

namespace tweak::toolkit {

class ToolkitAssertionFailure : public std::logic_error {
public:
    ToolkitAssertionFailure(std::string_view operation, std::string_view description);

    // The operation whose precondition failed, e.g. "-red".
    const std::string& operation() const { return m_operation; }

private:
    std::string m_operation;
};

// Raises the failure when the condition does not hold.
void assertToolkitCondition(bool condition, std::string_view operation, std::string_view description);

}
