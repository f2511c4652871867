#pragma once

#include "BuildLayout.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim::driver {

// The device's package manager: Debian's dpkg, run on the device folder (--root), with the
// device's own database in /var/lib/dpkg.
//
// Maintainer scripts run with the host's shell (--force-script-chrootless: the device has no
// /bin/sh to chroot into), with DPKG_ROOT naming the device and the device's own tools first in
// PATH. Its killall does not signal anything: it writes the names it was given to
// /var/run/killall.requests in the device, and each operation hands them back (Outcome::killed)
// for the driver to restart those processes, by process id, as the device would.
class DevicePackages {
public:
    DevicePackages(std::filesystem::path root, BuildLayout layout);

    static constexpr const char* databaseFolder = "/var/lib/dpkg";
    static constexpr const char* killRequestsPath = "/var/run/killall.requests";

    bool hasDatabase() const;

    // Installs the layout's device packages into a device that has no database yet. The root they
    // make is made by dpkg once per set of package files and kept (deviceImagesFolder), and each
    // device gets a copy of it: what dpkg does, without paying for it at every boot. Returns a
    // warning when the packages are not built (the device then gets an empty database).
    // Throws std::runtime_error, with dpkg's output, when dpkg refuses them.
    std::optional<std::string> installDevicePackages();

    struct Outcome {
        bool succeeded { false };
        std::string output;               // what dpkg printed, and what the driver did about it
        std::vector<std::string> killed;  // process names the maintainer scripts asked killall for
    };
    // dpkg -i FILE. A package that was not installed before and that dpkg leaves unpacked but not
    // configured (a dependency is missing) is taken out again, as a package manager never leaves
    // it: the device is as it was, and the refusal is the outcome.
    Outcome install(const std::filesystem::path& file);
    // dpkg -r NAME (the package's files go; files it does not own, such as preferences, stay).
    Outcome remove(const std::string& name);

    struct State {
        std::string status;  // dpkg's abbreviated status: "ii" installed, "rc" removed, "iU" unpacked, ...
        std::string version;
        bool installed() const { return status.size() >= 2 && status[1] == 'i' && (status.size() < 3 || status[2] == ' '); }
        bool absent() const { return status.size() >= 2 && (status[1] == 'n' || status[1] == 'c'); }
    };
    // What the device's database says of a package; nullopt when it has never heard of it.
    std::optional<State> state(const std::string& name) const;

private:
    struct Run {
        int status { -1 };
        std::string output;
    };
    Run run(const std::vector<std::string>& arguments) const;
    Run dpkg(const std::filesystem::path& root, const std::vector<std::string>& arguments) const;
    void createDatabase(const std::filesystem::path& root) const;
    std::vector<std::string> takeKillRequests(const std::filesystem::path& root) const;
    std::filesystem::path preinstalledImage();

    std::filesystem::path m_root;
    BuildLayout m_layout;
};

}
