#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace sim::viewer {

// The device's log lines as they are written: the system log (NSLog, each line already names its
// process) and every process's captured output (/var/log/<process>.stderr, named here). Each call
// returns the complete lines added since the last one.
class LogFollower {
public:
    explicit LogFollower(std::filesystem::path logFolder);

    std::vector<std::string> newLines();

private:
    struct Followed {
        std::uintmax_t offset { 0 };
        std::string partial;
    };
    std::filesystem::path m_folder;
    std::map<std::filesystem::path, Followed> m_files;
};

}
