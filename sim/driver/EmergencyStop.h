#pragma once

#include <sys/types.h>

namespace sim::driver {

// Makes sure no process the driver started outlives it, however it ends. Process groups are
// recorded in a fixed table that signal handlers can read; on SIGINT, SIGTERM or SIGHUP every
// recorded group is killed and the signal is remembered, so the driver's blocking calls fail
// (their peers are gone) and it unwinds normally, removing its device folder; a second signal
// exits at once. On a crash (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) and at exit() the groups
// are killed as well. The children also ask the kernel to kill them when the driver dies
// (PR_SET_PDEATHSIG), which covers SIGKILL of the driver.
class EmergencyStop {
public:
    // Installs the handlers and the exit hook; once per process, later calls do nothing.
    static void install();

    static void add(pid_t processGroup);
    static void remove(pid_t processGroup);
    // Sends SIGKILL to every recorded group. Async-signal-safe.
    static void killAll();

    // The interrupting signal, or 0.
    static int interruptSignal();
};

}
