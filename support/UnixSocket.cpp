#include <support/UnixSocket.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace support {

namespace {

// Builds the address for `path`, holding the folder open while it is in use when the path is too
// long to fit directly.
class SocketAddress {
public:
    explicit SocketAddress(const std::string& path)
    {
        m_address.sun_family = AF_UNIX;
        if (path.size() < sizeof m_address.sun_path) {
            std::memcpy(m_address.sun_path, path.c_str(), path.size() + 1);
            m_valid = true;
            return;
        }
        size_t slash = path.rfind('/');
        if (slash == std::string::npos)
            return;
        std::string folder = slash == 0 ? "/" : path.substr(0, slash);
        std::string name = path.substr(slash + 1);
        m_folder = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (m_folder < 0)
            return;
        int length = std::snprintf(m_address.sun_path, sizeof m_address.sun_path, "/proc/self/fd/%d/%s", m_folder, name.c_str());
        m_valid = length > 0 && static_cast<size_t>(length) < sizeof m_address.sun_path;
    }
    ~SocketAddress()
    {
        if (m_folder >= 0)
            ::close(m_folder);
    }
    SocketAddress(const SocketAddress&) = delete;
    SocketAddress& operator=(const SocketAddress&) = delete;

    bool isValid() const { return m_valid; }
    const sockaddr* address() const { return reinterpret_cast<const sockaddr*>(&m_address); }
    socklen_t length() const { return sizeof m_address; }

private:
    sockaddr_un m_address {};
    int m_folder { -1 };
    bool m_valid { false };
};

int failWithErrno(int fd)
{
    int saved = errno;
    ::close(fd);
    errno = saved;
    return -1;
}

}

int UnixSocket::connect(const std::string& path)
{
    SocketAddress address(path);
    if (!address.isValid()) {
        errno = ENAMETOOLONG;
        return -1;
    }
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    int result;
    do
        result = ::connect(fd, address.address(), address.length());
    while (result < 0 && errno == EINTR);
    return result < 0 ? failWithErrno(fd) : fd;
}

bool UnixSocket::hasListener(const std::string& path)
{
    int fd = connect(path);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

int UnixSocket::listen(const std::string& path, int backlog)
{
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0) {
        if (!S_ISSOCK(existing.st_mode)) {
            errno = EEXIST;
            return -1;
        }
        if (hasListener(path)) {
            errno = EADDRINUSE;
            return -1;
        }
        ::unlink(path.c_str());
    }
    SocketAddress address(path);
    if (!address.isValid()) {
        errno = ENAMETOOLONG;
        return -1;
    }
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    if (::bind(fd, address.address(), address.length()) < 0 || ::listen(fd, backlog) < 0)
        return failWithErrno(fd);
    return fd;
}

bool UnixSocket::setNonBlocking(int fd, bool nonBlocking)
{
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0)
        return false;
    return ::fcntl(fd, F_SETFL, nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK)) == 0;
}

bool UnixSocket::sendAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        data.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

}
