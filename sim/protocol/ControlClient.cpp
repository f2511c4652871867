#include "ControlClient.h"

#include "ControlError.h"
#include <support/UnixSocket.h>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace sim::protocol {

std::unique_ptr<ControlClient> ControlClient::connect(const std::string& path, std::string peerName)
{
    int fd = support::UnixSocket::connect(path);
    if (fd < 0)
        throw ControlError("cannot connect to " + (peerName.empty() ? path : peerName + " at " + path) + ": " + std::strerror(errno));
    return std::unique_ptr<ControlClient>(new ControlClient(fd, peerName.empty() ? path : std::move(peerName)));
}

std::unique_ptr<ControlClient> ControlClient::tryConnect(const std::string& path, std::string peerName)
{
    int fd = support::UnixSocket::connect(path);
    if (fd < 0)
        return nullptr;
    return std::unique_ptr<ControlClient>(new ControlClient(fd, peerName.empty() ? path : std::move(peerName)));
}

ControlClient::ControlClient(int fd, std::string peerName)
    : m_fd(fd)
    , m_peerName(std::move(peerName))
{
}

ControlClient::~ControlClient()
{
    ::close(m_fd);
}

std::string ControlClient::exchange(std::string_view line, Timeout timeout)
{
    if (line.find('\n') != std::string_view::npos)
        throw ControlError("a request is one line");
    std::string message = std::string(line) + "\n";
    size_t sent = 0;
    while (sent < message.size()) {
        ssize_t n = ::send(m_fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw ControlError(m_peerName + " is gone (" + std::strerror(errno) + ")");
        sent += static_cast<size_t>(n);
    }

    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        auto newline = m_buffer.find('\n');
        if (newline != std::string::npos) {
            std::string answer = m_buffer.substr(0, newline);
            m_buffer.erase(0, newline + 1);
            return answer;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            throw ControlError(m_peerName + " did not answer '" + std::string(line) + "' within " + std::to_string(timeout.count() / 1000.0) + " s");
        pollfd waitFor { m_fd, POLLIN, 0 };
        int ready = ::poll(&waitFor, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR)
            throw ControlError(m_peerName + ": " + std::strerror(errno));
        if (ready <= 0)
            continue;
        char chunk[65536];
        ssize_t n = ::recv(m_fd, chunk, sizeof(chunk), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw ControlError(m_peerName + " closed the connection");
        m_buffer.append(chunk, static_cast<size_t>(n));
    }
}

Json ControlClient::request(std::string_view line, Timeout timeout)
{
    std::string answer = exchange(line, timeout);
    Json parsed = Json::parse(answer, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object())
        throw ControlError(m_peerName + " answered something that is not a JSON object: " + answer.substr(0, 200));
    return parsed;
}

Json ControlClient::call(std::string_view line, Timeout timeout)
{
    Json answer = request(line, timeout);
    auto ok = answer.find("ok");
    if (ok != answer.end() && ok->is_boolean() && ok->get<bool>())
        return answer;
    auto error = answer.find("error");
    throw ControlError(m_peerName + ": " + (error != answer.end() && error->is_string() ? error->get<std::string>() : "request failed: " + answer.dump()));
}

}
