#include "ProcessTable.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace sim::driver {

std::optional<std::string> ProcessTable::read(pid_t pid, const char* file)
{
    const std::string path = "/proc/" + std::to_string(pid) + "/" + file;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    char buffer[1024];
    for (;;) {
        ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (count == 0)
            break;
        text.append(buffer, static_cast<size_t>(count));
    }
    ::close(fd);
    return text;
}

std::optional<ProcessTable::Stat> ProcessTable::stat(pid_t pid)
{
    auto text = read(pid, "stat");
    if (!text)
        return std::nullopt;
    // The command name in parentheses may hold spaces and parentheses: fields count from the last ')'.
    auto close = text->rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(text->substr(close + 1));
    char state;
    Stat result { pid };
    if (!(fields >> state >> result.parent >> result.group >> result.session))
        return std::nullopt;
    return result;
}

std::vector<ProcessTable::Stat> ProcessTable::all()
{
    std::vector<Stat> processes;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename();
        if (name.empty() || name.size() > 9 || !std::all_of(name.begin(), name.end(), ::isdigit))
            continue;
        if (auto process = stat(static_cast<pid_t>(std::stol(name))))
            processes.push_back(*process);
    }
    return processes;
}

long ProcessTable::residentKilobytes(pid_t pid)
{
    auto text = read(pid, "statm");
    if (!text)
        return 0;
    std::istringstream fields(*text);
    long size = 0, resident = 0;
    if (!(fields >> size >> resident))
        return 0;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

}
