#include <foundation/NSLog.h>

#include <foundation/DeviceRoot.h>
#include <foundation/LogSink.h>

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <syslog.h>
#include <unistd.h>

namespace foundation {

namespace {

struct LogIdentity {
    std::mutex mutex;
    std::string name;
    bool syslogOpen { false };
};

LogIdentity& identity()
{
    // Never destroyed: openlog keeps a pointer to the name.
    static LogIdentity* state = new LogIdentity { {}, program_invocation_short_name, false };
    return *state;
}

void appendToDeviceLog(const std::string& line)
{
    auto path = DeviceRoot::resolve("/var/log/syslog");
    if (!path)
        return;
    int fd = ::open(path->c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return; // no /var/log on this device: nothing to append to
    const char* data = line.data();
    size_t left = line.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        data += written;
        left -= static_cast<size_t>(written);
    }
    ::close(fd);
}

}

std::string logProcessName()
{
    auto& state = identity();
    std::lock_guard lock(state.mutex);
    return state.name;
}

void setLogProcessName(std::string name)
{
    auto& state = identity();
    std::lock_guard lock(state.mutex);
    if (state.syslogOpen) {
        closelog();
        state.syslogOpen = false;
    }
    state.name = std::move(name);
}

void logMessage(std::string_view message)
{
    std::string text(message);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();

    LogSink::append(text);

    std::string prefix;
    {
        auto& state = identity();
        std::lock_guard lock(state.mutex);
        if (!state.syslogOpen) {
            openlog(state.name.c_str(), LOG_PID | LOG_NDELAY, LOG_USER);
            state.syslogOpen = true;
        }
        // "%s" so that a '%' in the message is never read as a conversion.
        syslog(LOG_NOTICE, "%s", text.c_str());
        prefix = state.name;
    }

    appendToDeviceLog(prefix + "[" + std::to_string(::getpid()) + "]: " + text + "\n");
}

}
