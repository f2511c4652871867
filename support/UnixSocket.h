#pragma once

#include <string>
#include <string_view>

namespace support {

// AF_UNIX stream sockets at file-system paths of any length, shared by the notification broker, its
// clients, the hosts' control channels and the driver.
//
// sun_path holds only 108 bytes, and device roots live in temporary or build folders whose paths
// can be longer. A path that does not fit is reached through its folder instead: the folder is
// opened (O_PATH) and the socket named as /proc/self/fd/N/<name>, which the kernel resolves like any
// other path. That works for both bind and connect, and unlike chdir it touches no process-wide
// state. Only the last component must fit.
//
// One rule for socket files already at a path: a listener probes the path first. A file that
// accepts a connection belongs to a live listener and is never removed (listen fails with
// EADDRINUSE); a socket file nobody answers was left by a dead process and is replaced; anything
// that is not a socket is left alone (EEXIST).
class UnixSocket {
public:
    // A listening, non-blocking, close-on-exec socket bound at `path`, or -1 with errno set.
    static int listen(const std::string& path, int backlog = 16);
    // A connected, blocking, close-on-exec socket, or -1 with errno set (ENOENT or ECONNREFUSED
    // while nobody listens yet).
    static int connect(const std::string& path);
    // Whether a live process accepts connections at `path`.
    static bool hasListener(const std::string& path);

    static bool setNonBlocking(int fd, bool nonBlocking = true);
    // Writes all of `data`, retrying on EINTR and partial writes (blocking socket); no SIGPIPE.
    static bool sendAll(int fd, std::string_view data);
};

}
