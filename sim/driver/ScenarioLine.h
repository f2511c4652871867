#pragma once

#include <sim/protocol/Command.h>

#include <string>

namespace sim::driver {

// What a scenario line does, decided when the line is read.
enum class CommandKind {
    Setup,       // changes the device's files (activator, companion, prefs, file, app install)
    Boot,
    SpringBoard, // forwarded to springboard's control socket as it stands
    Settings,    // forwarded to settings-app's control socket
    Wait,
    Screenshot,
    Dump,
    Expect,
};

struct ScenarioLine {
    protocol::Command command;
    size_t lineNumber { 0 };
    CommandKind kind { CommandKind::Setup };
    std::string text; // the line as written, for messages and transcripts
};

}
