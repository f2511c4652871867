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
#include "ApplicationProcesses.h"
#include "SpringBoardCommands.h"

#include <springboard/SpringBoard.h>

#include <foundation/Clock.h>
#include <foundation/NSBundle.h>
#include <foundation/NSLog.h>
#include <foundation/RunLoop.h>
#include <notify/DarwinNotifyCenter.h>
#include <sim/protocol/ControlError.h>
#include <hosts/common/ControlServer.h>
#include <hosts/common/HostLifetime.h>
#include <substrate/DynamicLibraryLoader.h>

#include <cstdio>
#include <cstdlib>

namespace {

void endApplications() { springboard::host::ApplicationProcesses::shared().killAll(); }

}

int main()
{
    if (!hosts::HostLifetime::bindToParent())
        return 1;
    auto stopOnSignals = hosts::HostLifetime::stopRunLoopOnSignals();
    std::atexit(endApplications);

    hosts::ControlServer::useVirtualClockIfRequested();
    auto& loop = foundation::RunLoop::main();
    foundation::setLogProcessName("SpringBoard");
    foundation::NSBundle::mainBundle().setBundleIdentifier("com.apple.springboard");

    auto loaded = substrate::loadSubstrateLibraries("com.apple.springboard");

    std::string error;
    auto description = springboard::host::readDeviceDescription(&error);
    if (!description) {
        std::fprintf(stderr, "springboard: %s\n", error.c_str());
        return 1;
    }
    // Applications run as child processes of this one, started, ended and reaped here.
    springboard::host::ApplicationProcesses::shared();
    auto springBoard = springboard::SpringBoard::create(*description);
    notify::DarwinNotifyCenter::shared().post("com.apple.springboard.finishedstartup");

    std::unique_ptr<hosts::ControlServer> server;
    try {
        server = hosts::ControlServer::createForProcess("springboard");
    } catch (const sim::protocol::ControlError& failure) {
        std::fprintf(stderr, "springboard: %s\n", failure.what());
        return 1;
    }
    springboard::host::registerSpringBoardCommands(*server, springBoard.get());
    // A row added to the command table without its handler would be refused at run time; say so now.
    for (const auto& command : server->unservedCommands())
        std::fprintf(stderr, "springboard: the command table routes '%s' here, but nothing serves it\n", command.c_str());

    std::string libraries;
    for (auto& name : loaded)
        libraries += (libraries.empty() ? "" : ", ") + name;
    foundation::NSLog("SpringBoard started: %d applications, add-ons: %s", static_cast<int>(description->applications.size()),
        libraries.empty() ? "none" : libraries.c_str());

    loop.run();

    server.reset();
    endApplications();
    return 0;
}
