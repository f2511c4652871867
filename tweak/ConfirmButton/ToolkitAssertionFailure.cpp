#include "ToolkitAssertionFailure.h"

namespace tweak::toolkit {

ToolkitAssertionFailure::ToolkitAssertionFailure(std::string_view operation, std::string_view description)
    : std::logic_error(std::string(description))
    , m_operation(operation)
{
}

void assertToolkitCondition(bool condition, std::string_view operation, std::string_view description)
{
    if (!condition)
        throw ToolkitAssertionFailure(operation, description);
}

}
