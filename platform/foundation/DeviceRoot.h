#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// The folder that stands for "/" of the simulated device. Every device path the file layer is
// given ("/var/mobile/Library/Preferences/x.plist") is looked up under it, like a chroot.
//
// The root is, in order: what set() was given; else the environment variable
// TORVANE_DEVICE_ROOT (the driver sets it for every process it starts); else a private folder
// made on first use under the system's temporary folder (removed when the process that made it
// exits), so nothing ever touches the host's own /var or /Library. "" and "/" are refused as
// roots (set() with them falls back the same way), a relative root is made absolute. Call
// set() before other threads use files.
class DeviceRoot {
public:
    static void set(std::string hostPath);
    // The host folder of the device root, without a trailing slash.
    static std::string path();

    // The host path of a device path. Relative paths count from the device's "/". "." and ".."
    // are resolved by text; a path that would climb above the root, an empty path and a path
    // holding a NUL byte give nullopt, and callers treat them as missing and unwritable.
    // Symbolic links inside the root are left to the OS.
    static std::optional<std::string> resolve(std::string_view devicePath);

    // Environment variable read at first use.
    static constexpr const char* environmentVariable = "TORVANE_DEVICE_ROOT";
};

}
