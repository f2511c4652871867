// One control-channel request line as a host reads it: split into words, matched against the
// command tables the hosts serve (the scenario table and the channel's own), its words read as the
// handlers read them (numbers, integers, JSON, device paths), and the answer written as JSON.
// Malformed requests must end in ControlError, never another exception; a request that splits
// must write back (Command::line) to a line that splits into the same words, quoted words quoted.
#include <sim/protocol/Command.h>
#include <sim/protocol/CommandChecker.h>
#include <sim/protocol/CommandTable.h>
#include <sim/protocol/ControlError.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace sim::protocol;

namespace {

void checkWriteBack(const Command& command)
{
    std::string written = command.line();
    Command again = Command::parse(written);
    bool same = again.words().size() == command.words().size();
    for (size_t i = 0; same && i < again.words().size(); ++i)
        same = again.words()[i].text == command.words()[i].text && (again.words()[i].quoted || !command.words()[i].quoted);
    if (!same) {
        std::fprintf(stderr, "request wrote back as \"%s\", which splits differently\n", written.c_str());
        std::abort();
    }
}

void readArguments(const Command& command)
{
    for (size_t i = 0; i < command.argumentCount(); ++i) {
        try {
            command.number(i);
        } catch (const ControlError&) {
        }
        try {
            command.integer(i);
        } catch (const ControlError&) {
        }
        if (auto json = CommandChecker::jsonArgument(command.word(i)))
            json->dump(-1, ' ', false, Json::error_handler_t::replace);
        CommandChecker::isSafeDevicePath(command.argument(i));
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view line(reinterpret_cast<const char*>(data), size);
    Json answer;
    try {
        Command command = Command::parse(line);
        checkWriteBack(command);
        for (const auto* table : { &CommandTable::scenario(), &CommandTable::channel() }) {
            auto match = CommandChecker::match(*table, command);
            if (match.row) {
                CommandChecker::checkPhase(*match.row, command, false);
                CommandChecker::checkPhase(*match.row, command, true);
            }
        }
        readArguments(command);
        answer = { { "ok", true }, { "name", command.name() } };
    } catch (const ControlError& error) {
        answer = { { "ok", false }, { "error", error.what() } };
    }
    answer.dump(-1, ' ', false, Json::error_handler_t::replace);
    return 0;
}
