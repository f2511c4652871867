#include "OutputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace sim::driver {

namespace {

bool isStandardOutput(const std::filesystem::path& path)
{
    struct stat target {};
    struct stat output {};
    if (::stat(path.c_str(), &target) != 0 || ::fstat(STDOUT_FILENO, &output) != 0)
        return false;
    return target.st_dev == output.st_dev && target.st_ino == output.st_ino;
}

bool writeAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

}

bool OutputFile::write(const std::filesystem::path& path, std::string_view text)
{
    if (isStandardOutput(path)) {
        std::cout.flush();
        return writeAll(STDOUT_FILENO, text);
    }
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool written = writeAll(fd, text);
    int saved = errno;
    if (::close(fd) != 0 && written)
        return false;
    errno = saved;
    return written;
}

}
