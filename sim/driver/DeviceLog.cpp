#include "DeviceLog.h"

#include <algorithm>
#include <fstream>

namespace sim::driver {

namespace fs = std::filesystem;

DeviceLog::DeviceLog(fs::path logFolder)
    : m_folder(std::move(logFolder))
{
}

std::vector<std::string> DeviceLog::lines() const
{
    std::vector<fs::path> files;
    std::error_code error;
    if (fs::is_regular_file(m_folder / "syslog", error))
        files.push_back(m_folder / "syslog");
    std::vector<fs::path> captures;
    for (const auto& entry : fs::directory_iterator(m_folder, error)) {
        if (entry.path().extension() == ".stderr")
            captures.push_back(entry.path());
    }
    std::sort(captures.begin(), captures.end());
    files.insert(files.end(), captures.begin(), captures.end());

    std::vector<std::string> result;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::string line;
        while (std::getline(in, line))
            result.push_back(line);
    }
    return result;
}

std::vector<std::string> DeviceLog::linesContaining(const std::string& text) const
{
    std::vector<std::string> found;
    for (auto& line : lines()) {
        if (line.find(text) != std::string::npos)
            found.push_back(std::move(line));
    }
    return found;
}

}
