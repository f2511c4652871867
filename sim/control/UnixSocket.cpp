#include "UnixSocket.h"

#include <notify/UnixSocket.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sim::control {

// The long-path handling lives in the platform's socket helpers; this adds what the control
// channel wants on top: replacing a stale socket and a non-blocking listener.

int UnixSocket::listen(const std::string& path, int backlog)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode))
        ::unlink(path.c_str());
    int fd = notify::unixsocket::listenAt(path, backlog);
    if (fd >= 0)
        setNonBlocking(fd, true);
    return fd;
}

int UnixSocket::connect(const std::string& path)
{
    return notify::unixsocket::connectTo(path);
}

void UnixSocket::setNonBlocking(int fd, bool nonBlocking)
{
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0)
        return;
    ::fcntl(fd, F_SETFL, nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK));
}

}
