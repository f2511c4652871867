#pragma once

#include <string>
#include <string_view>

namespace sim::protocol {

// Where a host process of a device serves its control channel: "/var/run/<processName>.ctl", a
// device path (the driver maps it under the device root).
inline std::string controlSocketDevicePath(std::string_view processName)
{
    return "/var/run/" + std::string(processName) + ".ctl";
}

// Set to 1 in every process the driver starts: the process runs its main run loop on a virtual
// clock that only the driver moves.
inline constexpr const char* virtualTimeVariable = "TORVANE_VIRTUAL_TIME";

}
