#pragma once

#include "CommandRow.h"

#include <string>
#include <vector>

namespace sim::protocol {

// The one table of commands. The driver's scenario parser checks lines against it, each host's
// control server checks the requests it serves against it, and `help` prints it. Adding a command
// is one row here plus its handler where its kind says it runs.
class CommandTable {
public:
    // The scenario language, in the order help lists it.
    static const std::vector<CommandRow>& scenario();
    // The requests every host serves on its control channel itself (ping, advance, idle, dump,
    // screenshot), which the driver sends on its own behalf; not part of the scenario language.
    static const std::vector<CommandRow>& channel();

    // The scenario language as help prints it: every usage once, with its summary, by section.
    static std::string helpText();
    // The section a row is listed under in help ("Setting up", "SpringBoard", ...).
    static std::string_view sectionOf(const CommandRow&);
};

}
