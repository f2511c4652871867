#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace notify {

// Small helpers around AF_UNIX stream sockets.
//
// sun_path holds only 108 bytes, and device roots live in temporary or build folders whose paths
// can be longer. A path that does not fit is reached through its folder instead: the folder is
// opened (O_PATH) and the socket named as /proc/self/fd/N/<name>, which the kernel resolves
// like any other path. That works for both bind and connect, and unlike chdir it does not touch
// process-wide state.
namespace unixsocket {

// A connected, close-on-exec socket, or -1 with errno set.
int connectTo(const std::string& path);
// A listening, close-on-exec socket bound at `path`, or -1 with errno set.
int listenAt(const std::string& path, int backlog);

bool setNonBlocking(int fd);
// Writes all of `data`, retrying on EINTR and partial writes (blocking socket); no SIGPIPE.
bool sendAll(int fd, std::string_view data);

}

}
