#include "EmergencyStop.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace sim::driver {

namespace {

constexpr size_t capacity = 256;
std::atomic<pid_t> groups[capacity];
volatile sig_atomic_t interrupted = 0;
std::atomic<bool> installed { false };

void onInterrupt(int signal)
{
    if (interrupted) {
        EmergencyStop::killAll();
        ::_exit(128 + signal);
    }
    interrupted = signal;
    EmergencyStop::killAll();
}

void onCrash(int signal)
{
    EmergencyStop::killAll();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}

void EmergencyStop::install()
{
    if (installed.exchange(true))
        return;
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a blocking poll or read returns with EINTR, so the driver notices promptly.
    action.sa_handler = onInterrupt;
    for (int signal : { SIGINT, SIGTERM, SIGHUP })
        sigaction(signal, &action, nullptr);
    action.sa_handler = onCrash;
    action.sa_flags = SA_RESETHAND;
    for (int signal : { SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT })
        sigaction(signal, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    std::atexit([] { killAll(); });
}

void EmergencyStop::add(pid_t processGroup)
{
    for (auto& slot : groups) {
        pid_t empty = 0;
        if (slot.compare_exchange_strong(empty, processGroup))
            return;
    }
}

void EmergencyStop::remove(pid_t processGroup)
{
    for (auto& slot : groups) {
        pid_t expected = processGroup;
        if (slot.compare_exchange_strong(expected, 0))
            return;
    }
}

void EmergencyStop::killAll()
{
    for (auto& slot : groups) {
        pid_t group = slot.load();
        if (group > 0)
            ::kill(-group, SIGKILL);
    }
}

int EmergencyStop::interruptSignal()
{
    return interrupted;
}

}
