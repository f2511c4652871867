#pragma once

#include "Command.h"
#include "CommandRow.h"
#include "Json.h"

#include <optional>
#include <string>
#include <vector>

namespace sim::protocol {

// Checks a command against the command table: which row it is, and whether its arguments have
// that row's shape. The same checks, and so the same messages, hold in the driver (when a
// scenario file is read) and in the host that serves the command.
class CommandChecker {
public:
    struct Match {
        const CommandRow* row { nullptr }; // the row, when the name and subcommand are known
        std::optional<std::string> error;    // why the arguments do not fit it
    };

    // The row of `rows` that `command` names, with its arguments checked. A name with several
    // rows is resolved by its subcommand (the first argument); a command matching no row is
    // refused with the usage of every row of its name.
    static Match match(const std::vector<CommandRow>& rows, const Command&);

    // Whether `row` may run on a device that is (or is not yet) booted.
    static std::optional<std::string> checkPhase(const CommandRow&, const Command&, bool booted);

    // A JSON argument: quoted text is a JSON string; anything else must be JSON as written
    // (true, 12, 0.5, null, [..], {..}). nullopt when it is not.
    static std::optional<Json> jsonArgument(const Word&);
    // A device path: absolute, never "/" itself, and never climbing out with "..".
    static bool isSafeDevicePath(std::string_view);
};

}
