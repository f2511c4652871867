#include <springboard/SBApplicationController.h>

#include <springboard/SBAppSwitcherController.h>

#include <stdexcept>

namespace springboard {

TORVANE_DEFINE_CLASS(SBApplicationController)

namespace {
runtime::RefPtr<SBApplicationController>& shared()
{
    static runtime::RefPtr<SBApplicationController> controller;
    return controller;
}
}

runtime::Ref<SBApplicationController> SBApplicationController::create()
{
    return runtime::adoptRef(*new SBApplicationController);
}

SBApplicationController* SBApplicationController::sharedInstance() { return shared().get(); }
void SBApplicationController::setSharedInstance(runtime::RefPtr<SBApplicationController> controller) { shared() = std::move(controller); }

runtime::Ref<foundation::NSArray> SBApplicationController::applicationsWithBundleIdentifier(std::string_view bundleIdentifier) const
{
    foundation::NSArray::Storage found;
    if (auto* application = applicationWithBundleIdentifier(bundleIdentifier))
        found.push_back(*application);
    return foundation::NSArray::create(std::move(found));
}

SBApplication* SBApplicationController::applicationWithBundleIdentifier(std::string_view bundleIdentifier) const
{
    auto it = m_byIdentifier.find(bundleIdentifier);
    return it == m_byIdentifier.end() ? nullptr : it->second;
}

SBApplication* SBApplicationController::applicationWithPid(pid_t pid) const
{
    if (pid <= 0)
        return nullptr;
    for (auto& application : m_applications) {
        if (application->pid() == pid)
            return application.ptr();
    }
    return nullptr;
}

SBApplication& SBApplicationController::addApplication(const std::string& bundleIdentifier, const std::string& displayName)
{
    if (auto* existing = applicationWithBundleIdentifier(bundleIdentifier))
        return *existing;
    auto application = SBApplication::create(bundleIdentifier, displayName);
    m_byIdentifier.emplace(bundleIdentifier, application.ptr());
    m_applications.push_back(application);
    return application.get();
}

SBApplication* SBApplicationController::foregroundApplication() const
{
    for (auto& application : m_applications) {
        if (application->applicationState() == SBApplicationStateForeground)
            return application.ptr();
    }
    return nullptr;
}

namespace {

ApplicationProcessLauncher*& processLauncher()
{
    static ApplicationProcessLauncher* launcher = nullptr;
    return launcher;
}

}

void SBApplicationController::setProcessLauncher(ApplicationProcessLauncher* launcher) { processLauncher() = launcher; }

void SBApplicationController::launchApplication(std::string_view bundleIdentifier, double megabytes)
{
    SBApplication* application = applicationWithBundleIdentifier(bundleIdentifier);
    if (!application)
        throw std::runtime_error("no application '" + std::string(bundleIdentifier) + "' is installed");
    runtime::Ref<SBApplication> protector(*application);
    if (!application->isRunning() || application->pid() <= 0) {
        auto* launcher = processLauncher();
        if (!launcher)
            throw std::runtime_error("cannot start " + application->bundleIdentifier() + ": nothing starts application processes here");
        std::string error;
        auto pid = launcher->spawn(application->bundleIdentifier(), megabytes, &error);
        if (!pid)
            throw std::runtime_error("cannot start " + application->bundleIdentifier() + ": " + error);
        application->setPid(*pid);
        application->setLaunchMegabytes(megabytes);
    }
    activate(*application);
}

void SBApplicationController::activate(SBApplication& application)
{
    application.willActivate();
    SBApplication* previous = foregroundApplication();
    if (previous && previous != &application)
        previous->setApplicationState(SBApplicationStateBackground);
    application.setApplicationState(SBApplicationStateForeground);
    if (auto* switcher = SBAppSwitcherController::sharedInstance())
        switcher->applicationDidActivate(application);
}

void SBApplicationController::quitApplication(std::string_view bundleIdentifier)
{
    SBApplication* application = applicationWithBundleIdentifier(bundleIdentifier);
    if (!application)
        throw std::runtime_error("no application '" + std::string(bundleIdentifier) + "' is installed");
    if (!application->isRunning() || application->pid() <= 0)
        throw std::runtime_error(application->bundleIdentifier() + " is not running");
    if (auto* launcher = processLauncher())
        launcher->requestQuit(application->pid());
}

void SBApplicationController::deactivateForegroundApplication()
{
    if (auto* application = foregroundApplication())
        application->setApplicationState(SBApplicationStateBackground);
}

void SBApplicationController::terminateApplication(SBApplication& application)
{
    runtime::Ref<SBApplication> protector(application);
    if (application.pid() > 0)
        if (auto* launcher = processLauncher())
            launcher->terminate(application.pid());
    application.setPid(0);
    if (application.isRunning())
        application.setApplicationState(SBApplicationStateStopped);
    if (auto* switcher = SBAppSwitcherController::sharedInstance())
        switcher->applicationDidStop(application);
}

void SBApplicationController::processDidExit(pid_t pid)
{
    SBApplication* application = applicationWithPid(pid);
    if (!application)
        return;
    runtime::Ref<SBApplication> protector(*application);
    application->setPid(0);
    if (application->isRunning())
        application->setApplicationState(SBApplicationStateStopped);
    if (auto* switcher = SBAppSwitcherController::sharedInstance())
        switcher->applicationDidStop(*application);
}

}
