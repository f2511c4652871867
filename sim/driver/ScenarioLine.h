#pragma once

#include <sim/protocol/Command.h>
#include <sim/protocol/CommandRow.h>

#include <string>

namespace sim::driver {

// What a scenario line does, decided when the line is read (the command table says it).
using protocol::CommandKind;

struct ScenarioLine {
    protocol::Command command;
    size_t lineNumber { 0 };
    CommandKind kind { CommandKind::Setup };
    std::string text; // the line as written, for messages and transcripts
};

}
