#pragma once

#include "ScenarioLine.h"

#include <sim/protocol/Json.h>

#include <optional>
#include <string>

namespace sim::driver {

using protocol::Json;

// The scenario language's commands and their arguments. Every check that does not need a running
// device happens here, when a file is read, so a typing mistake on line 40 stops the run before
// anything boots.
class CommandRules {
public:
    struct Verdict {
        CommandKind kind { CommandKind::Setup };
        std::optional<std::string> error; // why the line is malformed
    };

    // Classifies and checks `command`. `booted` says whether a `boot` line came before: setting-up
    // commands (but `file`) are refused after it, device commands before it.
    static Verdict check(const protocol::Command&, bool booted);

    // A JSON argument: quoted text is a JSON string; anything else must be JSON as written
    // (true, 12, 0.5, null, [..], {..}). nullopt when it is not.
    static std::optional<Json> jsonArgument(const protocol::Word&);

    // A device path given to `file`: absolute, and never climbing out of the device with "..".
    static bool isSafeDevicePath(const std::string&);
};

}
