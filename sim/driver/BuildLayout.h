#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sim::driver {

// Where the driver finds what it installs and starts: the build's bin/ (executables) and lib/
// (libraries) folders, the repository's resources/ folder, and the Debian packages a new device
// gets (the build's packages/ folder).
struct BuildLayout {
    std::filesystem::path binFolder {};
    std::filesystem::path libFolder {};
    std::filesystem::path resourcesFolder {};
    std::filesystem::path packagesFolder {};
    // The package files of packagesFolder a new device gets, in the order dpkg installs them.
    std::vector<std::string> devicePackages {};
    // The device's own commands for maintainer scripts (killall), first in their PATH.
    std::filesystem::path deviceToolsFolder {};
    // Where roots pre-installed from the device packages are kept, one per set of packages.
    std::filesystem::path deviceImagesFolder {};
    // The architecture of the device's packages (dpkg --print-architecture at configure time).
    std::string architecture {};

    // The layout around the running executable: it sits in bin/, lib/ is its sibling, and the
    // resources are those of the source tree it was built from.
    static BuildLayout aroundExecutable();

    std::filesystem::path executable(const std::string& name) const { return binFolder / name; }
    // The built file of a shared-library target, whatever its naming ("Name.dylib", "libName.so",
    // "Name.so"); empty when it is not built.
    std::filesystem::path library(const std::string& name) const;
};

}
