#pragma once

#include <foundation/Seconds.h>

#include <cstddef>
#include <optional>
#include <string>

namespace notify {

// Asks the broker at `socketPath` (a host path) how many deliveries it has sent and not had
// acknowledged, over a connection of its own. nullopt when no broker answers within `timeout`.
std::optional<size_t> brokerPendingDeliveries(const std::string& socketPath,
    foundation::Seconds timeout = foundation::Seconds(5));

// The same for the broker of the current device root.
std::optional<size_t> brokerPendingDeliveries();

// The host path of the current device's broker socket.
std::string brokerSocketPath();

}
