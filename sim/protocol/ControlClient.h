#pragma once

#include "Json.h"

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace sim::protocol {

// The driver's end of a control channel (ControlServer.h): one connection, one request at a time.
// Also speaks to any other line-based socket (the notification broker's STATUS request).
class ControlClient {
public:
    using Timeout = std::chrono::milliseconds;
    static constexpr Timeout defaultTimeout { 30000 };

    // Connects to the socket at host path `path`; throws ControlError when nobody listens there.
    static std::unique_ptr<ControlClient> connect(const std::string& path, std::string peerName = {});
    // nullptr instead of throwing (for polling while a process starts).
    static std::unique_ptr<ControlClient> tryConnect(const std::string& path, std::string peerName = {});

    ~ControlClient();
    ControlClient(const ControlClient&) = delete;
    ControlClient& operator=(const ControlClient&) = delete;

    // Sends `line` and reads one answer line, parsed as JSON. Throws ControlError when the line
    // cannot be sent, the peer closes the connection, the answer is not JSON or does not come
    // within `timeout`. An {"ok":false} answer is returned, not thrown.
    Json request(std::string_view line, Timeout timeout = defaultTimeout);
    // Like request(), but fails with ControlError("<peer>: <error>") on {"ok":false}.
    Json call(std::string_view line, Timeout timeout = defaultTimeout);
    // Sends `line`, returns the answer line as text (without its newline).
    std::string exchange(std::string_view line, Timeout timeout = defaultTimeout);

    const std::string& peerName() const { return m_peerName; }

private:
    ControlClient(int fd, std::string peerName);

    int m_fd;
    std::string m_peerName;
    std::string m_buffer;
};

}
