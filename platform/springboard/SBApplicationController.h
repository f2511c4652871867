#pragma once

// The installed applications, and starting and ending their processes.
//
// Launching an application that does not run starts its process, then runs willActivate and
// setApplicationState: with the foreground state (the application that was in front goes to the
// background state first). Launching one that runs brings it to the front the same way, in the same
// process. Quitting asks the process to exit by itself; when any application process exits, it is
// reaped and the application gets the stopped state and leaves the switcher bar.

#include <springboard/Forward.h>
#include <springboard/SBApplication.h>

#include <foundation/NSArray.h>
#include <runtime/Object.h>

#include <map>
#include <string>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace springboard {

// What starts and ends the processes that applications run in. SpringBoard's host supplies it (it
// forks, signals and reaps them, and reports each exit with processDidExit); without one no
// application can be launched.
class ApplicationProcessLauncher {
public:
    virtual ~ApplicationProcessLauncher() = default;
    // The new process's id; nullopt, with the reason in *error, when it cannot be started.
    virtual std::optional<pid_t> spawn(const std::string& bundleIdentifier, double megabytes, std::string* error) = 0;
    // Ends the process (it is reaped later).
    virtual void terminate(pid_t) = 0;
    // Asks the application to exit by itself.
    virtual void requestQuit(pid_t) = 0;
};

class SBApplicationController : public runtime::Object {
    TORVANE_OBJECT(SBApplicationController, runtime::Object)
public:
    static runtime::Ref<SBApplicationController> create();
    // nullptr until SpringBoard has installed one.
    static SBApplicationController* sharedInstance();
    static void setSharedInstance(runtime::RefPtr<SBApplicationController>);
    // The process's launcher (not owned; it outlives every controller), or nullptr.
    static void setProcessLauncher(ApplicationProcessLauncher*);

    // The application objects of a bundle identifier (one at most here), as an NSArray.
    runtime::Ref<foundation::NSArray> applicationsWithBundleIdentifier(std::string_view bundleIdentifier) const;
    SBApplication* applicationWithBundleIdentifier(std::string_view bundleIdentifier) const;
    SBApplication* applicationWithPid(pid_t pid) const;
    const std::vector<runtime::Ref<SBApplication>>& allApplications() const { return m_applications; }
    // Adding an identifier twice gives the first application back.
    SBApplication& addApplication(const std::string& bundleIdentifier, const std::string& displayName);

    // The application in front, or nullptr (the home screen).
    SBApplication* foregroundApplication() const;

    // Throw std::runtime_error with a message for the driver when the application is unknown or its
    // process cannot be started.
    void launchApplication(std::string_view bundleIdentifier, double megabytes);
    void quitApplication(std::string_view bundleIdentifier);
    // Sends the application in front to the background (the home button).
    void deactivateForegroundApplication();

    // Ends a running application's process (SIGTERM; reaped later) and sets the stopped state now.
    void terminateApplication(SBApplication&);
    // The reaper's report: the application whose process this was stops.
    void processDidExit(pid_t pid);

private:
    SBApplicationController() = default;
    void activate(SBApplication&);

    std::vector<runtime::Ref<SBApplication>> m_applications;
    std::map<std::string, SBApplication*, std::less<>> m_byIdentifier;
};

}
