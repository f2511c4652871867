#pragma once

// One installed application. While it runs it is a real child process (sim-app) whose pid the
// application reports.
//
// State codes (applicationState), as the add-on reads them: below 2 the application is not running.
//   0  never started since SpringBoard started
//   1  stopped (ended from the switcher bar, quit, or exited by itself)
//   2  running in the background
//   4  running in the front
// Every change of state goes through setApplicationState: (hookable), never around it.

#include <springboard/HookedOperations.h>

#include <runtime/Object.h>

#include <string>
#include <sys/types.h>

namespace springboard {

enum SBApplicationStateCode : int {
    SBApplicationStateNeverStarted = 0,
    SBApplicationStateStopped = 1,
    SBApplicationStateBackground = 2,
    SBApplicationStateForeground = 4,
};

class SBApplication : public runtime::Object {
    TORVANE_OBJECT(SBApplication, runtime::Object)
public:
    static runtime::Ref<SBApplication> create(std::string bundleIdentifier, std::string displayName);

    const std::string& bundleIdentifier() const { return m_bundleIdentifier; }
    const std::string& displayName() const { return m_displayName; }
    int applicationState() const { return m_state; }
    bool isRunning() const { return isRunningState(m_state); }
    // The one rule for a state code: from background up the application runs.
    static constexpr bool isRunningState(int state) { return state >= SBApplicationStateBackground; }
    // The process id while running, 0 otherwise.
    pid_t pid() const { return m_pid; }
    void setPid(pid_t pid) { m_pid = pid; }
    // Memory the process is told to hold when it starts, in megabytes.
    double launchMegabytes() const { return m_launchMegabytes; }
    void setLaunchMegabytes(double megabytes) { m_launchMegabytes = megabytes; }

    // Hookable (see HookedOperations.h).
    void setApplicationState(int state);
    // The application is about to come to the front.
    void willActivate();

    // How often willActivate's own implementation ran (tests and the dump's sanity checks).
    unsigned activationCount() const { return m_activationCount; }

    std::string description() const override;

private:
    SBApplication(std::string bundleIdentifier, std::string displayName);
    static void setApplicationStateImplementation(runtime::Object* self, runtime::Selector, int state);
    static void willActivateImplementation(runtime::Object* self, runtime::Selector);
    static void registerMethods(runtime::Class&);

    std::string m_bundleIdentifier;
    std::string m_displayName;
    int m_state { SBApplicationStateNeverStarted };
    pid_t m_pid { 0 };
    double m_launchMegabytes { 8 };
    unsigned m_activationCount { 0 };
};

}
