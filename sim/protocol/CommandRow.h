#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace sim::protocol {

// What a command does and therefore who carries it out.
enum class CommandKind {
    Setup,       // changes the device's files (the driver)
    Boot,        // starts the device's processes (the driver)
    SpringBoard, // served by the springboard host
    Settings,    // served by the settings-app host
    Wait,        // moves the device's clock (the driver, through every host)
    Screenshot,  // the driver asks a host for a picture
    Dump,        // the driver reads a host's state or a device file
    Expect,      // the driver compares a dump with a value
    Include,     // plays another scenario file in place (the driver, when the file is read)
    Channel,     // a control-channel request every host serves itself (ping, advance, idle, ...)
};

// When a scenario may use a command.
enum class Phase {
    BeforeBoot,
    AfterBoot,
    Anytime,
    // Either side of boot, but a first argument naming a process (springboard, settings) needs the
    // device booted.
    AnytimeForFiles,
};

// One argument of a command, by kind. Each check that fails gives `error` when it is set, else a
// message of the kind's own (see CommandTable.cpp).
struct ArgumentRule {
    enum class Type {
        Literal,           // exactly `name` ("begin" in touch TARGET begin X Y)
        Word,              // any non-empty word: an identifier, a name, an event
        Text,              // any text, empty included ("Button" of alert tap)
        Choice,            // one of `choices`; the default error is "<name> must be a|b, not 'x'"
        Number,            // a finite decimal number within [minimum, maximum]
        Integer,           // a whole number within [minimum, maximum]
        Json,              // JSON as written, or quoted text as a JSON string
        PropertyListValue, // Json that a property list can hold (no null anywhere)
        DevicePath,        // an absolute device path that never climbs out with ".."
    };
    Type type { Type::Word };
    std::string_view name;
    std::vector<std::string_view> choices {};
    std::optional<double> minimum {};
    std::optional<double> maximum {};
    std::string_view error {};
    bool optional { false }; // may be left out (only at the end)
};

// A keyword option after the positional arguments ("by D", "dock"), in any order, each at most
// once; options sharing a non-empty `group` exclude each other.
struct OptionRule {
    std::string_view keyword;
    std::optional<ArgumentRule> value {}; // none: a flag
    std::string_view group {};
    std::string_view missing {};          // the error when the value is left out
};

// One row of the command table.
struct CommandRow {
    std::string_view name;
    // The literal first argument that selects this row among rows of one name ("install" of app
    // install), or empty for a row selected by its name alone.
    std::string_view subcommand;
    std::vector<ArgumentRule> arguments; // after the subcommand
    std::vector<OptionRule> options;
    std::string_view usage;   // without the "usage: " prefix; rows of one form may share it
    std::string_view summary; // one line for help
    CommandKind kind { CommandKind::SpringBoard };
    Phase phase { Phase::AfterBoot };

    // The process that serves the command on the device, or empty when the driver does.
    std::string_view process() const;
};

}
