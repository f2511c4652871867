#include "LogFollower.h"

#include <fstream>

namespace sim::viewer {

namespace fs = std::filesystem;

LogFollower::LogFollower(fs::path logFolder)
    : m_folder(std::move(logFolder))
{
}

std::vector<std::string> LogFollower::newLines()
{
    std::vector<std::string> lines;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(m_folder, error)) {
        const auto& path = entry.path();
        bool isSyslog = path.filename() == "syslog";
        if (!isSyslog && path.extension() != ".stderr")
            continue;
        auto size = fs::file_size(path, error);
        if (error)
            continue;
        Followed& followed = m_files[path];
        if (size < followed.offset)
            followed = {}; // the file was started again
        if (size == followed.offset)
            continue;
        std::ifstream in(path, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(followed.offset));
        std::string chunk(size - followed.offset, '\0');
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        chunk.resize(static_cast<size_t>(in.gcount()));
        followed.offset += chunk.size();
        followed.partial += chunk;
        size_t newline;
        while ((newline = followed.partial.find('\n')) != std::string::npos) {
            std::string line = followed.partial.substr(0, newline);
            followed.partial.erase(0, newline + 1);
            if (line.empty())
                continue;
            lines.push_back(isSyslog ? line : path.stem().string() + ": " + line);
        }
    }
    return lines;
}

}
