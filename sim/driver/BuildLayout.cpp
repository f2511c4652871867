#include "BuildLayout.h"

#include <string_view>
#include <unistd.h>

namespace sim::driver {

BuildLayout BuildLayout::aroundExecutable()
{
    std::error_code error;
    auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    BuildLayout layout;
    layout.binFolder = error ? std::filesystem::current_path() : self.parent_path();
    layout.libFolder = layout.binFolder.parent_path() / "lib";
    layout.resourcesFolder = std::filesystem::path(TORVANE_SOURCE_DIR) / "resources";
    auto buildFolder = layout.binFolder.parent_path();
    layout.packagesFolder = buildFolder / "packages";
    layout.deviceImagesFolder = buildFolder / "device-images";
    layout.deviceToolsFolder = std::filesystem::path(TORVANE_SOURCE_DIR) / "sim/driver/device-bin";
#ifdef TORVANE_DEVICE_PACKAGES
    std::string_view packages = TORVANE_DEVICE_PACKAGES;
    while (!packages.empty()) {
        auto colon = packages.find(':');
        layout.devicePackages.emplace_back(packages.substr(0, colon));
        packages = colon == std::string_view::npos ? std::string_view() : packages.substr(colon + 1);
    }
#endif
#ifdef TORVANE_DEVICE_ARCHITECTURE
    layout.architecture = TORVANE_DEVICE_ARCHITECTURE;
#endif
    return layout;
}

std::filesystem::path BuildLayout::library(const std::string& name) const
{
    for (const auto& candidate : { name + ".dylib", "lib" + name + ".so", name + ".so", "lib" + name + ".dylib" }) {
        auto path = libFolder / candidate;
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            return path;
    }
    return {};
}

}
