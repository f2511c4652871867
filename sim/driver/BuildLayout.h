#pragma once

#include <filesystem>
#include <string>

namespace sim::driver {

// Where the driver finds what it installs and starts: the build's bin/ (executables) and lib/
// (libraries) folders, and the repository's resources/ folder.
struct BuildLayout {
    std::filesystem::path binFolder;
    std::filesystem::path libFolder;
    std::filesystem::path resourcesFolder;

    // The layout around the running executable: it sits in bin/, lib/ is its sibling, and the
    // resources are those of the source tree it was built from.
    static BuildLayout aroundExecutable();

    std::filesystem::path executable(const std::string& name) const { return binFolder / name; }
    // The built file of a shared-library target, whatever its naming ("Name.dylib", "libName.so",
    // "Name.so"); empty when it is not built.
    std::filesystem::path library(const std::string& name) const;
};

}
