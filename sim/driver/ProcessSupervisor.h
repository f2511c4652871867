#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <sys/types.h>

namespace sim::driver {

// Starts the device's processes and makes sure every one of them, and everything they started,
// is gone when the run ends.
//
// Each process gets its own session and process group, PR_SET_PDEATHSIG (dies with the driver,
// even a killed one), its standard output and error in a capture file, no standard input, and the
// environment given. The supervisor makes its own process a child subreaper, so applications
// orphaned by a dying host are handed to the driver and reaped here instead of lingering; they
// are told from the driver's other children by the host's session, which they stay in although
// each application is a process group of its own.
class ProcessSupervisor {
public:
    struct Program {
        std::string name;
        std::filesystem::path executable;
        std::vector<std::string> arguments;
        std::filesystem::path captureFile; // standard output and error
    };

    // `environment` is added to (and overrides) the driver's own for every process.
    explicit ProcessSupervisor(std::map<std::string, std::string> environment);
    ~ProcessSupervisor();
    ProcessSupervisor(const ProcessSupervisor&) = delete;
    ProcessSupervisor& operator=(const ProcessSupervisor&) = delete;

    // Throws std::runtime_error when the process cannot be started.
    pid_t start(const Program&);

    bool isRunning(const std::string& name);
    // Exit description ("exited with status 1", "killed by signal 11") of a process that ended.
    std::string exitDescription(const std::string& name) const;
    // The last `lines` lines of a process's capture file.
    std::string captureTail(const std::string& name, size_t lines = 15) const;

    // Waits until `ready()` holds, polling every few milliseconds (real time: processes start in
    // real time even on a virtual clock). Throws std::runtime_error naming the process and its
    // captured output when it dies first or `timeout` passes.
    void waitUntilReady(const std::string& name, const std::function<bool()>& ready, std::chrono::milliseconds timeout);

    // Ends every process: SIGTERM to each group in reverse start order, SIGKILL to what is left
    // after `grace`, then every orphan of their sessions handed to us. Reaps them all. Safe to
    // call twice.
    void stopAll(std::chrono::milliseconds grace = std::chrono::milliseconds(2000));

    // Ends one process as stopAll() does (SIGTERM to its group, SIGKILL after `grace`), with
    // everything it started; it may be started again under the same name.
    void stop(const std::string& name, std::chrono::milliseconds grace = std::chrono::milliseconds(2000));

    // Every process id this supervisor started (for checks that they are gone).
    std::vector<pid_t> startedPids() const;

private:
    struct Child {
        std::string name;
        pid_t pid { 0 };
        bool running { true };
        int status { 0 };
        std::filesystem::path captureFile;
    };
    Child* find(const std::string& name);
    const Child* find(const std::string& name) const;
    void reap(Child&, bool block);
    void reapAdoptedOrphans();
    // Orphans of the given hosts' sessions and groups.
    void reapAdoptedOrphans(const std::set<pid_t>& hosts);

    std::map<std::string, std::string> m_environment;
    std::vector<Child> m_children;
};

}
