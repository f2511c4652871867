#include "CommandRules.h"

#include "Expectation.h"
#include "JsonPointer.h"
#include "WaitCondition.h"

#include <sim/protocol/CommandChecker.h>
#include <sim/protocol/CommandTable.h>

namespace sim::driver {

using protocol::Command;
using protocol::CommandChecker;

namespace {

using Check = std::optional<std::string>;

// `expect TARGET POINTER OP [VALUE]` once the table has checked its shape.
Check checkExpectation(const Command& command)
{
    if (!JsonPointer::parse(command.argument(1)))
        return "'" + command.argument(1) + "' is not a JSON pointer (\"\" or /a/b; ~0 and ~1 escape ~ and /)";
    auto op = Expectation::parseOp(command.argument(2));
    if (!op)
        return "unknown operator '" + command.argument(2) + "' (==, !=, <, <=, >, >=, ~=, contains, !contains, absent, length)";
    if (!Expectation::takesValue(*op))
        return command.hasArgument(3) ? Check("'absent' takes no value") : Check();
    if (!command.hasArgument(3))
        return "'" + command.argument(2) + "' needs a value";
    return Expectation::checkValue(*op, *CommandChecker::jsonArgument(command.word(3)));
}

}

CommandRules::Verdict CommandRules::check(const Command& command, bool booted)
{
    auto match = CommandChecker::match(protocol::CommandTable::scenario(), command);
    if (!match.row)
        return { CommandKind::SpringBoard, match.error };
    CommandKind kind = match.row->kind;
    if (match.error)
        return { kind, match.error };
    if (kind == CommandKind::Expect && match.row->subcommand.empty()) {
        if (auto error = checkExpectation(command))
            return { kind, error };
    }
    if (kind == CommandKind::Wait && match.row->subcommand == "until") {
        auto condition = WaitCondition::read(command);
        if (auto* error = std::get_if<std::string>(&condition))
            return { kind, *error };
    }
    return { kind, CommandChecker::checkPhase(*match.row, command, booted) };
}

}
