#include "WaitCondition.h"

#include <sim/protocol/CommandChecker.h>

namespace sim::driver {

namespace {

constexpr const char* logUsage = "usage: wait until log contains \"TEXT\" [max SECONDS]";

bool isMaxKeyword(const protocol::Command& command, size_t index)
{
    return command.hasArgument(index) && !command.word(index).quoted && command.argument(index) == "max";
}

}

std::variant<WaitCondition, std::string> WaitCondition::read(const protocol::Command& command)
{
    // argument 0 is "until"
    WaitCondition condition;
    condition.target = command.argument(1);
    condition.pointer = command.argument(2);
    size_t next = 4;
    if (condition.isLog()) {
        if (condition.pointer != "contains")
            return std::string(logUsage);
        condition.pointer = command.argument(3);
        condition.op = Expectation::Op::Contains;
    } else {
        if (!JsonPointer::parse(condition.pointer))
            return "'" + condition.pointer + "' is not a JSON pointer (\"\" or /a/b; ~0 and ~1 escape ~ and /)";
        auto op = Expectation::parseOp(command.argument(3));
        if (!op)
            return "unknown operator '" + command.argument(3) + "' (==, !=, <, <=, >, >=, ~=, contains, !contains, absent, length)";
        condition.op = *op;
        if (Expectation::takesValue(*op)) {
            if (!command.hasArgument(4) || isMaxKeyword(command, 4))
                return "'" + command.argument(3) + "' needs a value";
            auto value = protocol::CommandChecker::jsonArgument(command.word(4));
            if (!value)
                return "'" + command.word(4).raw + "' is not a JSON value (quote text: \"...\")";
            if (auto error = Expectation::checkValue(*op, *value))
                return *error;
            condition.expected = *value;
            next = 5;
        }
    }
    if (command.hasArgument(next)) {
        if (!isMaxKeyword(command, next) || !command.hasArgument(next + 1) || command.hasArgument(next + 2))
            return condition.isLog() ? std::string(logUsage) : std::string("unexpected '" + command.word(next).raw + "'; usage: wait until TARGET POINTER OP [VALUE] [max SECONDS]");
        double seconds = 0;
        if (!protocol::parseNumber(command.argument(next + 1), seconds))
            return "max needs a number of seconds, not '" + command.argument(next + 1) + "'";
        condition.maxSeconds = seconds;
    }
    return condition;
}

}
