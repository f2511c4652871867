#include "UnixSocket.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace sim::control {

namespace {

// Holds an O_PATH descriptor of the socket's folder for as long as a long path is in use.
class ShortAddress {
public:
    explicit ShortAddress(const std::string& path)
    {
        std::memset(&m_address, 0, sizeof(m_address));
        m_address.sun_family = AF_UNIX;
        std::string usable = path;
        if (path.size() >= sizeof(m_address.sun_path)) {
            auto slash = path.rfind('/');
            std::string folder = slash == 0 ? "/" : path.substr(0, slash);
            std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
            m_folder = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (m_folder < 0)
                return;
            usable = "/proc/self/fd/" + std::to_string(m_folder) + "/" + name;
            if (usable.size() >= sizeof(m_address.sun_path)) {
                errno = ENAMETOOLONG;
                return;
            }
        }
        std::memcpy(m_address.sun_path, usable.c_str(), usable.size() + 1);
        m_valid = true;
    }
    ~ShortAddress()
    {
        if (m_folder >= 0) {
            int saved = errno;
            ::close(m_folder);
            errno = saved;
        }
    }
    ShortAddress(const ShortAddress&) = delete;
    ShortAddress& operator=(const ShortAddress&) = delete;

    bool valid() const { return m_valid; }
    const sockaddr* address() const { return reinterpret_cast<const sockaddr*>(&m_address); }
    socklen_t length() const { return sizeof(m_address); }

private:
    sockaddr_un m_address {};
    int m_folder { -1 };
    bool m_valid { false };
};

}

int UnixSocket::listen(const std::string& path, int backlog)
{
    ShortAddress address(path);
    if (!address.valid())
        return -1;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode))
        ::unlink(path.c_str());

    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    if (::bind(fd, address.address(), address.length()) < 0 || ::listen(fd, backlog) < 0) {
        int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

int UnixSocket::connect(const std::string& path)
{
    ShortAddress address(path);
    if (!address.valid())
        return -1;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    int result;
    do {
        result = ::connect(fd, address.address(), address.length());
    } while (result < 0 && errno == EINTR);
    if (result < 0) {
        int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

void UnixSocket::setNonBlocking(int fd, bool nonBlocking)
{
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0)
        return;
    ::fcntl(fd, F_SETFL, nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK));
}

}
