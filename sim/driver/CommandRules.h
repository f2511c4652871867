#pragma once

#include "ScenarioLine.h"

#include <sim/protocol/Json.h>

#include <optional>
#include <string>

namespace sim::driver {

using protocol::Json;

// The scenario language's rules as the driver applies them when a file is read: the command
// table's shape and phase checks, and on top of them what only the driver understands (JSON
// pointers, expect's operators and values). Every check that does not need a running device
// happens here, so a typing mistake on line 40 stops the run before anything boots.
class CommandRules {
public:
    struct Verdict {
        CommandKind kind { CommandKind::Setup };
        std::optional<std::string> error; // why the line is malformed
    };

    // Classifies and checks `command`. `booted` says whether a `boot` line came before.
    static Verdict check(const protocol::Command&, bool booted);
};

}
