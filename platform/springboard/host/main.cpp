// springboard: the SpringBoard host process of a simulated device.
//
// Environment: TORVANE_DEVICE_ROOT names the device (the file layer reads it); TORVANE_VIRTUAL_TIME=1
// runs the main run loop on a virtual clock that only the driver moves. Start-up, in order: the
// main bundle becomes com.apple.springboard; the substrate loads the add-ons meant for it (their
// constructors install their hooks before any SpringBoard object exists, as on the device); the home
// screen is built from the device description; the Darwin notification centre connects; the control
// channel opens at /var/run/springboard.ctl. SIGTERM or SIGINT ends the process; every application
// process is ended with it (they also die with it by themselves), and SpringBoard dies with its
// parent, the driver.

#include "DeviceDescription.h"
#include "SpringBoardCommands.h"

#include <springboard/ApplicationProcesses.h>
#include <springboard/SpringBoard.h>

#include <foundation/Clock.h>
#include <foundation/NSBundle.h>
#include <foundation/NSLog.h>
#include <foundation/RunLoop.h>
#include <notify/DarwinNotifyCenter.h>
#include <sim/control/ControlError.h>
#include <sim/control/ControlServer.h>
#include <substrate/DynamicLibraryLoader.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

void endApplications() { springboard::ApplicationProcesses::shared().killAll(); }

}

int main()
{
    pid_t parent = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent)
        return 1;

    if (::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("springboard: pipe");
        return 1;
    }
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    std::atexit(endApplications);

    auto& loop = foundation::RunLoop::main();
    if (const char* virtualTime = std::getenv("TORVANE_VIRTUAL_TIME"); virtualTime && std::strcmp(virtualTime, "1") == 0)
        loop.setClock(foundation::VirtualClock::create());
    foundation::setLogProcessName("SpringBoard");
    foundation::NSBundle::mainBundle().setBundleIdentifier("com.apple.springboard");

    auto loaded = substrate::loadSubstrateLibraries("com.apple.springboard");

    std::string error;
    auto description = springboard::host::readDeviceDescription(&error);
    if (!description) {
        std::fprintf(stderr, "springboard: %s\n", error.c_str());
        return 1;
    }
    auto springBoard = springboard::SpringBoard::create(*description);
    notify::DarwinNotifyCenter::shared().post("com.apple.springboard.finishedstartup");

    std::unique_ptr<sim::control::ControlServer> server;
    try {
        server = sim::control::ControlServer::createForProcess("springboard");
    } catch (const sim::control::ControlError& failure) {
        std::fprintf(stderr, "springboard: %s\n", failure.what());
        return 1;
    }
    springboard::host::registerSpringBoardCommands(*server, springBoard.get());

    std::string libraries;
    for (auto& name : loaded)
        libraries += (libraries.empty() ? "" : ", ") + name;
    foundation::NSLog("SpringBoard started: %d applications, add-ons: %s", static_cast<int>(description->applications.size()),
        libraries.empty() ? "none" : libraries.c_str());

    auto stopSource = loop.addSource(g_stopPipe[0], [&loop] {
        char buffer[16];
        while (::read(g_stopPipe[0], buffer, sizeof buffer) > 0) { }
        loop.stop();
    });
    loop.run();

    server.reset();
    endApplications();
    return 0;
}
