#pragma once

// The child processes that stand for running applications: one `sim-app BUNDLE_ID MEGABYTES` each.
// The one instance is SpringBoard's ApplicationProcessLauncher from its making on; by default each
// exit it reaps is reported to the shared SBApplicationController.
//
// Ending: terminate() sends SIGTERM, requestQuit() SIGUSR1 (the application then exits by itself).
// Reaping never blocks: a SIGCHLD handler writes to a pipe that the main run loop watches, and the
// watcher collects exactly our own children with waitpid(pid, WNOHANG) — never waitpid(-1), which
// would steal the children of popen() (the add-on's memory probe) from pclose().
//
// Readiness: each child reports on a pipe once it holds its memory; until then it counts as
// starting, so whoever waits for the process to settle (the driver's idle check) sees its memory
// in place. A child that was told to end counts as pending until it has been reaped.
//
// Each child is a process group of its own. Children die with SpringBoard (PR_SET_PDEATHSIG, set
// before exec), and killAll() ends and reaps them all on the way out.

#include <springboard/SBApplicationController.h>

#include <foundation/ObserverToken.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>

namespace springboard::host {

class ApplicationProcesses final : public ApplicationProcessLauncher {
public:
    static ApplicationProcesses& shared();

    // The sim-app executable; by default the one next to the running executable (/proc/self/exe's
    // folder).
    void setExecutable(std::string path) { m_executable = std::move(path); }
    const std::string& executable() const { return m_executable; }

    // Starts a child; nullopt (and errno-style text in *error) when it cannot be started.
    std::optional<pid_t> spawn(const std::string& bundleIdentifier, double megabytes, std::string* error = nullptr) override;
    void terminate(pid_t pid) override;
    void requestQuit(pid_t pid) override;
    // Ends the child at once, without asking (SIGKILL), as the system ends a process; it counts as
    // pending until reaped. False when `pid` is not a child or the signal cannot be sent.
    bool kill(pid_t pid);

    // Called on the main run loop once a child has exited and been reaped, with its wait status.
    void setExitHandler(std::function<void(pid_t, int status)> handler) { m_exitHandler = std::move(handler); }

    bool isChild(pid_t pid) const { return m_children.count(pid) > 0; }
    size_t childCount() const { return m_children.size(); }
    // No child is still starting and none that was told to end is still unreaped.
    bool isSettled() const;
    // Reaps whatever has exited, now (the run loop does this on SIGCHLD).
    void reapExited();

    // SIGKILL to every child, then reaps them (blocking: only for shutdown).
    void killAll();

private:
    ApplicationProcesses();
    // Sends `signal` to a child, which then counts as pending until reaped; false when `pid` is
    // not a child or the signal cannot be sent.
    bool signalToEnd(pid_t pid, int signal);
    void watchSignals();
    void readReady(pid_t pid);

    struct Child {
        std::string bundleIdentifier;
        int readyFd { -1 };
        foundation::ObserverToken readySource;
        bool ending { false };
    };

    std::string m_executable;
    std::map<pid_t, Child> m_children;
    std::function<void(pid_t, int)> m_exitHandler;
    foundation::ObserverToken m_signalSource;
};

}
