#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sim::driver {

// The files one `run` plays, and the name each goes by in the folders the run writes.
class ScenarioFiles {
public:
    struct Expanded {
        std::vector<std::filesystem::path> files;
        std::vector<std::string> errors; // a folder with no scenario in it, a folder that cannot be read
    };
    // Files given stay as they are, in their order; a folder gives its .scn files sorted by their
    // path within it, those of sub-folders too when `recursive`.
    static Expanded expand(const std::vector<std::filesystem::path>& arguments, bool recursive);

    // A name per file, for its kept device and output folders: the file's stem, or, for files
    // whose stems are the same, the file's path without extension relative to the deepest folder
    // they share ("a/smoke", "b/smoke"); a file given twice gets "-2", "-3", ...
    static std::vector<std::string> runNames(const std::vector<std::filesystem::path>& files);
};

}
