#pragma once

#include <string>

namespace sim::control {

// Unix stream sockets at file-system paths of any length.
//
// sockaddr_un holds at most 107 characters of path, and device roots live in temporary folders
// whose paths can be longer than that. A longer path is reached through the folder instead: the
// folder is opened (O_PATH) and the socket is bound or connected as
// "/proc/self/fd/<folder fd>/<name>", which the kernel resolves to the same file. Only the last
// component must fit (it always does for our "<process>.ctl" names). No chdir, so it is safe
// wherever it is called.
class UnixSocket {
public:
    // A listening, non-blocking, close-on-exec socket at `path`. A stale socket file left at the
    // path by a dead process is replaced. Returns -1 with errno set on failure.
    static int listen(const std::string& path, int backlog = 16);
    // A connected, blocking, close-on-exec socket; -1 with errno set on failure (ENOENT or
    // ECONNREFUSED while nobody listens yet).
    static int connect(const std::string& path);

    static void setNonBlocking(int fd, bool nonBlocking);
};

}
