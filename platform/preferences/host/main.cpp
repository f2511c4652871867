// settings-app: the Settings application of a simulated device.
//
// Environment: TORVANE_DEVICE_ROOT names the device (the file layer reads it); TORVANE_VIRTUAL_TIME=1
// runs the main run loop on a virtual clock that only the driver moves. Start-up: the main bundle
// becomes com.apple.Preferences; the substrate loads the add-ons whose filters name it (none of
// ours does); the screen stack comes up; the control channel opens at /var/run/settings-app.ctl.
// SIGTERM or SIGINT ends the process, and it dies with its parent, the driver.

#include "SettingsCommands.h"

#include <foundation/NSBundle.h>
#include <foundation/NSLog.h>
#include <foundation/RunLoop.h>
#include <preferences/SettingsApplication.h>
#include <sim/control/ControlError.h>
#include <sim/control/ControlServer.h>
#include <substrate/DynamicLibraryLoader.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

int g_stopPipe[2] = { -1, -1 };

void onStopSignal(int)
{
    char byte = 1;
    ssize_t ignored = ::write(g_stopPipe[1], &byte, 1);
    (void)ignored;
}

}

int main()
{
    pid_t parent = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent)
        return 1;

    if (::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("settings-app: pipe");
        return 1;
    }
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    sim::control::ControlServer::useVirtualClockIfRequested();
    auto& loop = foundation::RunLoop::main();
    foundation::setLogProcessName("Preferences");
    foundation::NSBundle::mainBundle().setBundleIdentifier("com.apple.Preferences");

    substrate::loadSubstrateLibraries("com.apple.Preferences");
    auto application = preferences::SettingsApplication::create();

    std::unique_ptr<sim::control::ControlServer> server;
    try {
        server = sim::control::ControlServer::createForProcess("settings-app");
    } catch (const sim::control::ControlError& failure) {
        std::fprintf(stderr, "settings-app: %s\n", failure.what());
        return 1;
    }
    preferences::host::registerSettingsCommands(*server, application.get());

    auto stopSource = loop.addSource(g_stopPipe[0], [&loop] {
        char buffer[16];
        while (::read(g_stopPipe[0], buffer, sizeof buffer) > 0) { }
        loop.stop();
    });
    loop.run();
    return 0;
}
