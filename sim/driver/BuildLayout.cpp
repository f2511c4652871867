#include "BuildLayout.h"

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
