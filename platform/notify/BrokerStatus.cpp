#include <notify/BrokerStatus.h>

#include <foundation/Clock.h>
#include <foundation/DeviceRoot.h>
#include <notify/Protocol.h>
#include <support/UnixSocket.h>

#include <cerrno>
#include <charconv>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace notify {

std::optional<size_t> brokerPendingDeliveries(const std::string& socketPath, foundation::Seconds timeout)
{
    int fd = support::UnixSocket::connect(socketPath);
    if (fd < 0)
        return std::nullopt;
    std::optional<size_t> answer;
    if (support::UnixSocket::sendAll(fd, "STATUS\n")) {
        // Real time even when the run loop is on a virtual clock: this waits on another process.
        foundation::RealClock clock;
        foundation::MonotonicTime deadline = clock.now() + timeout;
        std::string input;
        while (!answer) {
            int waitMilliseconds = static_cast<int>((deadline - clock.now()).milliseconds());
            if (waitMilliseconds <= 0)
                break;
            pollfd ready { fd, POLLIN, 0 };
            int polled = ::poll(&ready, 1, waitMilliseconds);
            if (polled < 0 && errno == EINTR)
                continue;
            if (polled <= 0)
                break;
            char buffer[256];
            ssize_t received = ::recv(fd, buffer, sizeof buffer, 0);
            if (received < 0 && errno == EINTR)
                continue;
            if (received <= 0)
                break;
            input.append(buffer, static_cast<size_t>(received));
            bool withinLimit = protocol::takeLines(input, [&](std::string_view line) {
                auto [verb, argument] = protocol::parseLine(line);
                size_t count = 0;
                if (verb != "PENDING" || answer)
                    return;
                auto [end, error] = std::from_chars(argument.data(), argument.data() + argument.size(), count);
                if (error == std::errc() && end == argument.data() + argument.size())
                    answer = count;
            });
            if (!withinLimit)
                break;
        }
    }
    ::close(fd);
    return answer;
}

std::string brokerSocketPath()
{
    return foundation::DeviceRoot::resolve(protocol::socketDevicePath).value_or(std::string());
}

std::optional<size_t> brokerPendingDeliveries()
{
    std::string path = brokerSocketPath();
    if (path.empty())
        return std::nullopt;
    return brokerPendingDeliveries(path);
}

}
