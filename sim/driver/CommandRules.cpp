#include "CommandRules.h"

#include "Expectation.h"
#include "JsonPointer.h"

#include <set>

namespace sim::driver {

using protocol::Command;

namespace {

// Each check returns an error message, or nullopt when the argument is fine.
using Check = std::optional<std::string>;

bool isNumber(const std::string& text)
{
    double value;
    return protocol::parseNumber(text, value);
}

bool isNonNegativeNumber(const std::string& text)
{
    double value;
    return protocol::parseNumber(text, value) && value >= 0;
}

bool isCount(const std::string& text)
{
    int64_t value;
    return protocol::parseInteger(text, value) && value >= 0;
}

std::string joined(const Command& command, size_t from)
{
    std::string text;
    for (size_t i = from; i < command.argumentCount(); ++i)
        text += (text.empty() ? "" : " ") + command.word(i).raw;
    return text;
}

Check arity(const Command& command, size_t minimum, size_t maximum, const char* usage)
{
    if (command.argumentCount() < minimum || command.argumentCount() > maximum)
        return std::string("usage: ") + usage;
    return std::nullopt;
}

Check oneOf(const std::string& word, std::initializer_list<const char*> choices, const char* what)
{
    std::string list;
    for (const char* choice : choices) {
        if (word == choice)
            return std::nullopt;
        list += (list.empty() ? "" : "|") + std::string(choice);
    }
    return std::string(what) + " must be " + list + ", not '" + word + "'";
}

bool containsNull(const Json& value)
{
    if (value.is_null())
        return true;
    if (value.is_array() || value.is_object()) {
        for (const auto& element : value) {
            if (containsNull(element))
                return true;
        }
    }
    return false;
}

Check checkAppInstall(const Command& command)
{
    const char* usage = "app install BID \"Name\" [dock | page N | folder \"Folder\"] [badge N]";
    if (command.argumentCount() < 3 || command.argument(0) != "install")
        return std::string("usage: ") + usage;
    if (command.argument(1).empty() || command.argument(2).empty())
        return std::string("usage: ") + usage;
    bool placed = false;
    bool badged = false;
    size_t i = 3;
    while (i < command.argumentCount()) {
        const std::string& option = command.argument(i);
        if (option == "dock" && !placed) {
            placed = true;
            i += 1;
        } else if ((option == "page" || option == "folder") && !placed) {
            if (i + 1 >= command.argumentCount())
                return "'" + option + "' needs a value";
            int64_t page = -1;
            if (option == "page" && (!protocol::parseInteger(command.argument(i + 1), page) || page < 0 || page > 99))
                return "page must be a number from 0 to 99, not '" + command.argument(i + 1) + "'";
            if (option == "folder" && command.argument(i + 1).empty())
                return std::string("a folder needs a name");
            placed = true;
            i += 2;
        } else if (option == "badge" && !badged) {
            if (i + 1 >= command.argumentCount() || !isCount(command.argument(i + 1)))
                return std::string("badge needs a number from 0");
            badged = true;
            i += 2;
        } else {
            return "unexpected '" + option + "'; usage: " + usage;
        }
    }
    return std::nullopt;
}

Check checkFile(const Command& command)
{
    if (command.argumentCount() >= 1 && command.argument(0) == "put") {
        if (auto error = arity(command, 3, 3, "file put DEVICEPATH HOSTPATH"))
            return error;
    } else if (command.argumentCount() >= 1 && command.argument(0) == "rm") {
        if (auto error = arity(command, 2, 2, "file rm DEVICEPATH"))
            return error;
    } else {
        return std::string("usage: file put DEVICEPATH HOSTPATH | file rm DEVICEPATH");
    }
    if (!CommandRules::isSafeDevicePath(command.argument(1)))
        return "device path must be absolute and stay inside the device: '" + command.argument(1) + "'";
    if (command.argument(0) == "put" && command.argument(2).empty())
        return std::string("empty host path");
    return std::nullopt;
}

Check checkSwipe(const Command& command)
{
    const char* usage = "swipe up|down TARGET [by D] [dx X]";
    if (command.argumentCount() < 2)
        return std::string("usage: ") + usage;
    if (auto error = oneOf(command.argument(0), { "up", "down" }, "direction"))
        return error;
    std::set<std::string> seen;
    for (size_t i = 2; i < command.argumentCount(); i += 2) {
        const std::string& option = command.argument(i);
        if ((option != "by" && option != "dx") || seen.count(option))
            return "unexpected '" + option + "'; usage: " + usage;
        seen.insert(option);
        if (i + 1 >= command.argumentCount() || !isNumber(command.argument(i + 1)))
            return "'" + option + "' needs a number";
    }
    return std::nullopt;
}

Check checkTouch(const Command& command)
{
    const char* usage = "touch TARGET begin X Y | touch move X Y | touch end";
    size_t n = command.argumentCount();
    if (n == 1 && command.argument(0) == "end")
        return std::nullopt;
    if (n == 3 && command.argument(0) == "move") {
        if (!isNumber(command.argument(1)) || !isNumber(command.argument(2)))
            return std::string("touch move needs two numbers");
        return std::nullopt;
    }
    if (n == 4 && command.argument(1) == "begin") {
        if (!isNumber(command.argument(2)) || !isNumber(command.argument(3)))
            return std::string("touch begin needs two numbers");
        return std::nullopt;
    }
    return std::string("usage: ") + usage;
}

Check checkSpringBoard(const Command& command)
{
    const std::string& name = command.name();
    if (name == "launch") {
        if (auto error = arity(command, 1, 3, "launch BID [mb M]"))
            return error;
        if (command.argumentCount() == 2)
            return std::string("usage: launch BID [mb M]");
        if (command.argumentCount() == 3) {
            if (command.argument(1) != "mb")
                return std::string("usage: launch BID [mb M]");
            double megabytes;
            if (!protocol::parseNumber(command.argument(2), megabytes) || megabytes < 0 || megabytes > 4096)
                return std::string("mb must be a number from 0 to 4096");
        }
        return std::nullopt;
    }
    if (name == "quit")
        return arity(command, 1, 1, "quit BID");
    if (name == "swipe")
        return checkSwipe(command);
    if (name == "touch")
        return checkTouch(command);
    if (name == "switcher") {
        if (auto error = arity(command, 1, 1, "switcher show|hide"))
            return error;
        return oneOf(command.argument(0), { "show", "hide" }, "switcher");
    }
    if (name == "folder") {
        if (command.argumentCount() == 2 && command.argument(0) == "open")
            return std::nullopt;
        if (command.argumentCount() == 1 && command.argument(0) == "close")
            return std::nullopt;
        return std::string("usage: folder open \"Name\" | folder close");
    }
    if (name == "edit") {
        if (auto error = arity(command, 1, 1, "edit start|stop"))
            return error;
        return oneOf(command.argument(0), { "start", "stop" }, "edit");
    }
    if (name == "lock" || name == "unlock" || name == "home")
        return arity(command, 0, 0, name == "lock" ? "lock" : name == "unlock" ? "unlock" : "home");
    if (name == "badge") {
        if (auto error = arity(command, 2, 2, "badge BID N"))
            return error;
        if (!isCount(command.argument(1)))
            return "badge must be a number from 0, not '" + command.argument(1) + "'";
        return std::nullopt;
    }
    if (name == "alert") {
        if (command.argumentCount() == 2 && command.argument(0) == "tap")
            return std::nullopt;
        return std::string("usage: alert tap \"Button\"");
    }
    if (name == "activator") {
        if (command.argumentCount() == 2 && (command.argument(0) == "assign" || command.argument(0) == "send"))
            return std::nullopt;
        return std::string("usage: activator assign EVENT | activator send EVENT");
    }
    if (name == "popup") {
        if (command.argumentCount() == 2 && command.argument(0) == "kill")
            return std::nullopt;
        return std::string("usage: popup kill \"AppName\"");
    }
    return "unknown command '" + name + "'";
}

Check checkSettings(const Command& command)
{
    const char* usage = "settings open|toggle|select|row|sheet|reload|save|cancel|opacity|alert|back|leave ...";
    if (command.argumentCount() < 1)
        return std::string("usage: ") + usage;
    const std::string& sub = command.argument(0);
    size_t n = command.argumentCount() - 1;
    if (sub == "open" || sub == "reload" || sub == "save" || sub == "cancel" || sub == "back" || sub == "leave")
        return n == 0 ? Check() : Check("usage: settings " + sub);
    if (sub == "toggle") {
        if (n != 2)
            return std::string("usage: settings toggle ID on|off");
        return oneOf(command.argument(2), { "on", "off" }, "toggle");
    }
    if (sub == "select" || sub == "row" || sub == "sheet" || sub == "alert")
        return n == 1 ? Check() : Check("usage: settings " + sub + (sub == "select" ? " ID" : " \"Text\""));
    if (sub == "opacity") {
        if (n != 1 || !isNumber(command.argument(1)))
            return std::string("usage: settings opacity VALUE (a number)");
        return std::nullopt;
    }
    return "unknown settings command '" + sub + "'";
}

Check checkExpect(const Command& command)
{
    const char* usage = "expect springboard|settings|prefs|companion POINTER OP [VALUE] | expect log contains \"TEXT\"";
    if (command.argumentCount() < 1)
        return std::string("usage: ") + usage;
    const std::string& target = command.argument(0);
    if (target == "log") {
        if (command.argumentCount() != 3 || (command.argument(1) != "contains" && command.argument(1) != "!contains"))
            return std::string("usage: expect log contains|!contains \"TEXT\"");
        return std::nullopt;
    }
    if (auto error = oneOf(target, { "springboard", "settings", "prefs", "companion", "log" }, "expect's target"))
        return error;
    if (command.argumentCount() < 3)
        return std::string("usage: ") + usage;
    if (!JsonPointer::parse(command.argument(1)))
        return "'" + command.argument(1) + "' is not a JSON pointer (\"\" or /a/b; ~0 and ~1 escape ~ and /)";
    auto op = Expectation::parseOp(command.argument(2));
    if (!op)
        return "unknown operator '" + command.argument(2) + "' (==, !=, <, <=, >, >=, ~=, contains, !contains, absent, length)";
    if (!Expectation::takesValue(*op))
        return command.argumentCount() == 3 ? Check() : Check("'absent' takes no value");
    if (command.argumentCount() != 4)
        return command.argumentCount() < 4 ? Check("'" + command.argument(2) + "' needs a value") : Check("text after the value: '" + joined(command, 4) + "' (quote text with spaces)");
    auto value = CommandRules::jsonArgument(command.word(3));
    if (!value)
        return "'" + command.word(3).raw + "' is not a JSON value (quote text: \"...\")";
    return Expectation::checkValue(*op, *value);
}

}

std::optional<Json> CommandRules::jsonArgument(const protocol::Word& word)
{
    if (word.quoted)
        return Json(word.text);
    Json value = Json::parse(word.raw, nullptr, false);
    if (value.is_discarded())
        return std::nullopt;
    return value;
}

bool CommandRules::isSafeDevicePath(const std::string& path)
{
    if (path.empty() || path.front() != '/')
        return false;
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        if (path.compare(start, end - start, "..") == 0)
            return false;
        start = end + 1;
    }
    return path != "/";
}

CommandRules::Verdict CommandRules::check(const Command& command, bool booted)
{
    const std::string& name = command.name();
    auto setup = [&](Check error) -> Verdict {
        if (!error && booted)
            error = "'" + name + "' sets the device up and must come before boot";
        return { CommandKind::Setup, error };
    };
    auto device = [&](CommandKind kind, Check error) -> Verdict {
        if (!error && !booted)
            error = "'" + name + "' needs a booted device (add a boot line before it)";
        return { kind, error };
    };

    if (name == "activator" && command.argumentCount() == 1 && command.argument(0) != "assign" && command.argument(0) != "send")
        return setup(oneOf(command.argument(0), { "on", "off" }, "activator"));
    if (name == "companion") {
        if (auto error = arity(command, 1, 1, "companion on|off"))
            return setup(error);
        return setup(oneOf(command.argument(0), { "on", "off" }, "companion"));
    }
    if (name == "prefs") {
        if (command.argumentCount() != 2)
            return setup(command.argumentCount() > 2 ? Check("text after the value: '" + joined(command, 2) + "' (quote text with spaces)") : Check("usage: prefs KEY JSON"));
        if (command.argument(0).empty())
            return setup(Check("empty key"));
        auto value = jsonArgument(command.word(1));
        if (!value)
            return setup("'" + command.word(1).raw + "' is not a JSON value (quote text: \"...\")");
        if (containsNull(*value))
            return setup(Check("a property list cannot hold null"));
        return setup(std::nullopt);
    }
    if (name == "prefs-remove") {
        if (auto error = arity(command, 1, 1, "prefs-remove KEY"))
            return setup(error);
        return setup(std::nullopt);
    }
    if (name == "file")
        return { CommandKind::Setup, checkFile(command) };
    if (name == "app")
        return setup(checkAppInstall(command));
    if (name == "boot") {
        if (booted)
            return { CommandKind::Boot, "the device is already booted" };
        return { CommandKind::Boot, arity(command, 0, 0, "boot") };
    }
    if (name == "wait") {
        if (auto error = arity(command, 1, 1, "wait SECONDS"))
            return device(CommandKind::Wait, error);
        if (!isNonNegativeNumber(command.argument(0)))
            return device(CommandKind::Wait, "wait needs a number of seconds from 0, not '" + command.argument(0) + "'");
        return device(CommandKind::Wait, std::nullopt);
    }
    if (name == "settings")
        return device(CommandKind::Settings, checkSettings(command));
    if (name == "screenshot") {
        if (auto error = arity(command, 2, 2, "screenshot springboard|settings FILE.png"))
            return device(CommandKind::Screenshot, error);
        return device(CommandKind::Screenshot, oneOf(command.argument(0), { "springboard", "settings" }, "screenshot's target"));
    }
    if (name == "dump") {
        if (auto error = arity(command, 1, 2, "dump springboard|settings|prefs|companion [FILE.json]"))
            return { CommandKind::Dump, error };
        if (auto error = oneOf(command.argument(0), { "springboard", "settings", "prefs", "companion" }, "dump's target"))
            return { CommandKind::Dump, error };
        if (command.argument(0) == "springboard" || command.argument(0) == "settings")
            return device(CommandKind::Dump, std::nullopt);
        return { CommandKind::Dump, std::nullopt };
    }
    if (name == "expect") {
        auto error = checkExpect(command);
        if (!error && command.argumentCount() >= 1 && (command.argument(0) == "springboard" || command.argument(0) == "settings"))
            return device(CommandKind::Expect, std::nullopt);
        return { CommandKind::Expect, error };
    }
    auto error = checkSpringBoard(command);
    if (error && error->starts_with("unknown command"))
        return { CommandKind::SpringBoard, error };
    return device(CommandKind::SpringBoard, error);
}

}
