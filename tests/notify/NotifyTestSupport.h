#pragma once

// Helpers for the notification tests: temporary device roots, pipes between a test and the
// processes it forks, and a notifyd started from the build's bin folder.

#include <foundation/DeviceRoot.h>
#include <foundation/RunLoop.h>
#include <notify/BrokerStatus.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace notifytest {

// Real time, for bounded waits on other processes.
inline double now()
{
    timespec reading {};
    clock_gettime(CLOCK_MONOTONIC, &reading);
    return static_cast<double>(reading.tv_sec) + static_cast<double>(reading.tv_nsec) / 1e9;
}

// Generous: a loaded two-core machine can be slow, but a broken build must not hang the suite.
constexpr double patience = 20.0;

class TemporaryRoot {
public:
    explicit TemporaryRoot(const std::string& suffix = {})
    {
        std::string pattern = "/tmp/torvane-notify-XXXXXX";
        if (::mkdtemp(pattern.data()))
            m_top = pattern;
        m_path = m_top + suffix;
        std::filesystem::create_directories(m_path);
    }
    ~TemporaryRoot() { std::filesystem::remove_all(m_top); }
    const std::string& path() const { return m_path; }

private:
    std::string m_top;
    std::string m_path;
};

// A one-way byte channel; lines of text.
class Channel {
public:
    Channel() { EXPECT_EQ(::pipe2(m_fds, O_CLOEXEC), 0); }
    ~Channel()
    {
        closeRead();
        closeWrite();
    }
    void closeRead()
    {
        if (m_fds[0] >= 0)
            ::close(m_fds[0]);
        m_fds[0] = -1;
    }
    void closeWrite()
    {
        if (m_fds[1] >= 0)
            ::close(m_fds[1]);
        m_fds[1] = -1;
    }
    void send(const std::string& line)
    {
        std::string text = line + "\n";
        [[maybe_unused]] ssize_t written = ::write(m_fds[1], text.data(), text.size());
    }
    int readFd() const { return m_fds[0]; }

    // The next line, or nullopt after `timeout` seconds or at end of file.
    std::optional<std::string> receive(double timeout = patience)
    {
        double deadline = now() + timeout;
        while (true) {
            size_t newline = m_buffer.find('\n');
            if (newline != std::string::npos) {
                std::string line = m_buffer.substr(0, newline);
                m_buffer.erase(0, newline + 1);
                return line;
            }
            int wait = static_cast<int>((deadline - now()) * 1000);
            if (wait <= 0)
                return std::nullopt;
            pollfd ready { m_fds[0], POLLIN, 0 };
            if (::poll(&ready, 1, wait) <= 0)
                continue;
            char chunk[256];
            ssize_t got = ::read(m_fds[0], chunk, sizeof chunk);
            if (got <= 0)
                return std::nullopt;
            m_buffer.append(chunk, static_cast<size_t>(got));
        }
    }

private:
    int m_fds[2] { -1, -1 };
    std::string m_buffer;
};

// Waits for a child and gives its exit status, or -1 if it did not exit normally in time (it is
// then killed).
inline int waitForExit(pid_t pid, double timeout = patience)
{
    double deadline = now() + timeout;
    while (now() < deadline) {
        int status = 0;
        pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        ::poll(nullptr, 0, 10);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
}

// Runs `body` in a forked child that exits with its return value. The child gets its own view
// of the process's loop: no inherited work, on the real clock.
inline pid_t forkChild(const std::function<int()>& body)
{
    pid_t pid = ::fork();
    if (pid == 0) {
        foundation::RunLoop::main().discardPendingWork();
        foundation::RunLoop::main().setClock(foundation::RealClock::create());
        int code = body();
        ::_exit(code);
    }
    return pid;
}

// notifyd for a device root, started as the driver starts it: the root in the environment.
class BrokerProcess {
public:
    explicit BrokerProcess(const std::string& deviceRoot)
        : m_socketPath(deviceRoot + "/var/run/notifyd.sock")
    {
        m_pid = ::fork();
        if (m_pid == 0) {
            ::setenv(foundation::DeviceRoot::environmentVariable, deviceRoot.c_str(), 1);
            ::execl(NOTIFYD_PATH, "notifyd", static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~BrokerProcess() { stop(); }

    // True once the broker answers; false if it never did within the patience.
    bool waitUntilReady()
    {
        double deadline = now() + patience;
        while (now() < deadline) {
            if (notify::brokerPendingDeliveries(m_socketPath, foundation::Seconds(1)))
                return true;
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return false;
            }
            ::poll(nullptr, 0, 10);
        }
        return false;
    }

    std::optional<size_t> pending() const { return notify::brokerPendingDeliveries(m_socketPath); }

    // Polls until the broker reports `expected` outstanding deliveries; returns the last answer.
    std::optional<size_t> waitForPending(size_t expected) const
    {
        double deadline = now() + patience;
        std::optional<size_t> last;
        while (now() < deadline) {
            last = pending();
            if (last == expected)
                return last;
            ::poll(nullptr, 0, 5);
        }
        return last;
    }

    // Waits for the broker to end on its own; its exit status.
    int waitForExitByItself()
    {
        int code = waitForExit(m_pid);
        m_pid = -1;
        return code;
    }

    // SIGTERM and wait; the exit status (-1 for a signal death or a timeout).
    int stop()
    {
        if (m_pid <= 0)
            return -1;
        ::kill(m_pid, SIGTERM);
        int code = waitForExit(m_pid);
        m_pid = -1;
        return code;
    }

    const std::string& socketPath() const { return m_socketPath; }
    pid_t pid() const { return m_pid; }

private:
    std::string m_socketPath;
    pid_t m_pid { -1 };
};

}
