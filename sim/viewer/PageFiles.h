#pragma once

#include <string_view>
#include <vector>

namespace sim::viewer {

// The page's files (sim/viewer/page), compiled into the driver.
struct PageFile {
    std::string_view name;
    std::string_view contents;
};
const std::vector<PageFile>& pageFiles();

}
