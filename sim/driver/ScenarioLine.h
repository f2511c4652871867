#pragma once

#include <sim/protocol/Command.h>
#include <sim/protocol/CommandRow.h>

#include <filesystem>
#include <string>

namespace sim::driver {

// What a scenario line does, decided when the line is read (the command table says it).
using protocol::CommandKind;

struct ScenarioLine {
    protocol::Command command;
    size_t lineNumber { 0 };
    CommandKind kind { CommandKind::Setup };
    std::string text; // the line as written, for messages and transcripts
    // The file the line was read from, as messages name it (an included file's own name), and the
    // folder where its relative host paths start; empty for lines that come from no file.
    std::string fileName;
    std::filesystem::path folder;
};

}
