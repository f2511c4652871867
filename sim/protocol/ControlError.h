#pragma once

#include <stdexcept>
#include <string>

namespace sim::protocol {

// A request that cannot be carried out: a handler throws it to answer {"ok":false,"error":...};
// the client throws it when the channel itself fails (no socket, closed connection, timeout).
class ControlError : public std::runtime_error {
public:
    explicit ControlError(const std::string& message)
        : std::runtime_error(message)
    {
    }
};

}
