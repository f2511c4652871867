#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sim::driver {

// Every log line of every process of a device: the device's system log (NSLog appends one line per
// call to /var/log/syslog, prefixed with the process name) and each process's captured standard
// output and error (/var/log/<process>.stderr).
class DeviceLog {
public:
    explicit DeviceLog(std::filesystem::path logFolder);

    std::vector<std::string> lines() const;
    // The lines that contain `text`.
    std::vector<std::string> linesContaining(const std::string& text) const;

private:
    std::filesystem::path m_folder;
};

}
