#include <foundation/DeviceRoot.h>
#include <foundation/FileLock.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace foundation {

std::optional<FileLock> FileLock::exclusive(std::string_view devicePath)
{
    auto hostPath = DeviceRoot::resolve(devicePath);
    if (!hostPath)
        return std::nullopt;
    int fd = ::open(hostPath->c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return std::nullopt;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            return std::nullopt;
        }
    }
    return FileLock(fd);
}

FileLock::FileLock(int fd)
    : m_fd(fd)
{
}

FileLock::FileLock(FileLock&& other) noexcept
    : m_fd(other.m_fd)
{
    other.m_fd = -1;
}

FileLock::~FileLock()
{
    // Closing the last descriptor of the open file releases the lock.
    if (m_fd >= 0)
        ::close(m_fd);
}

}
