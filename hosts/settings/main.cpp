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
#include <sim/protocol/ControlError.h>
#include <hosts/common/ControlServer.h>
#include <hosts/common/HostLifetime.h>
#include <substrate/DynamicLibraryLoader.h>

#include <cstdio>

int main()
{
    if (!hosts::HostLifetime::bindToParent())
        return 1;
    auto stopOnSignals = hosts::HostLifetime::stopRunLoopOnSignals();

    hosts::ControlServer::useVirtualClockIfRequested();
    foundation::setLogProcessName("Preferences");
    foundation::NSBundle::mainBundle().setBundleIdentifier("com.apple.Preferences");

    substrate::loadSubstrateLibraries("com.apple.Preferences");
    auto application = preferences::SettingsApplication::create();

    std::unique_ptr<hosts::ControlServer> server;
    try {
        server = hosts::ControlServer::createForProcess("settings-app");
    } catch (const sim::protocol::ControlError& failure) {
        std::fprintf(stderr, "settings-app: %s\n", failure.what());
        return 1;
    }
    preferences::host::registerSettingsCommands(*server, application.get());
    // A row added to the command table without its handler would be refused at run time; say so now.
    for (const auto& command : server->unservedCommands())
        std::fprintf(stderr, "settings-app: the command table routes '%s' here, but nothing serves it\n", command.c_str());

    foundation::RunLoop::main().run();
    return 0;
}
