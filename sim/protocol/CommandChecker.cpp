#include "CommandChecker.h"

#include <algorithm>
#include <cstdint>

namespace sim::protocol {

using Type = ArgumentRule::Type;

namespace {

using Check = std::optional<std::string>;

std::string usageOf(const CommandRow& row) { return "usage: " + std::string(row.usage); }

// A row's message, with "{}" standing for the word it refuses.
std::string message(std::string_view text, const std::string& word)
{
    std::string result(text);
    if (auto at = result.find("{}"); at != std::string::npos)
        result.replace(at, 2, word);
    return result;
}

bool containsNull(const Json& value)
{
    if (value.is_null())
        return true;
    if (value.is_array() || value.is_object())
        return std::any_of(value.begin(), value.end(), [](const Json& element) { return containsNull(element); });
    return false;
}

bool inRange(const ArgumentRule& argument, double value)
{
    return (!argument.minimum || value >= *argument.minimum) && (!argument.maximum || value <= *argument.maximum);
}

Check checkValue(const ArgumentRule& argument, const Word& word, const CommandRow& row)
{
    auto refuse = [&](std::string fallback) -> Check {
        return argument.error.empty() ? fallback : message(argument.error, word.text);
    };
    switch (argument.type) {
    case Type::Literal:
        return word.text == argument.name ? Check() : Check(usageOf(row));
    case Type::Word:
        return word.text.empty() ? refuse(usageOf(row)) : Check();
    case Type::Text:
        return std::nullopt;
    case Type::Choice: {
        if (std::find(argument.choices.begin(), argument.choices.end(), word.text) != argument.choices.end())
            return std::nullopt;
        std::string list;
        for (auto choice : argument.choices)
            list += (list.empty() ? "" : "|") + std::string(choice);
        return refuse(std::string(argument.name) + " must be " + list + ", not '" + word.text + "'");
    }
    case Type::Number: {
        double value = 0;
        if (parseNumber(word.text, value) && inRange(argument, value))
            return std::nullopt;
        return refuse("'" + word.text + "' is not a number");
    }
    case Type::Integer: {
        int64_t value = 0;
        if (parseInteger(word.text, value) && inRange(argument, static_cast<double>(value)))
            return std::nullopt;
        return refuse("'" + word.text + "' is not a whole number");
    }
    case Type::Json:
    case Type::PropertyListValue: {
        auto value = CommandChecker::jsonArgument(word);
        if (!value)
            return refuse("'" + word.raw + "' is not a JSON value (quote text: \"...\")");
        if (argument.type == Type::PropertyListValue && containsNull(*value))
            return refuse("a property list cannot hold null");
        return std::nullopt;
    }
    case Type::DevicePath:
        if (CommandChecker::isSafeDevicePath(word.text))
            return std::nullopt;
        return refuse("device path must be absolute and stay inside the device: '" + word.text + "'");
    }
    return std::nullopt;
}

std::string wordsFrom(const Command& command, size_t from)
{
    std::string text;
    for (size_t i = from; i < command.argumentCount(); ++i)
        text += (text.empty() ? "" : " ") + command.word(i).raw;
    return text;
}

Check checkOptions(const CommandRow& row, const Command& command, size_t index)
{
    std::vector<std::string_view> seen;
    while (index < command.argumentCount()) {
        const std::string& keyword = command.argument(index);
        auto option = std::find_if(row.options.begin(), row.options.end(), [&](const OptionRule& candidate) { return candidate.keyword == keyword; });
        bool taken = option != row.options.end()
            && std::any_of(seen.begin(), seen.end(), [&](std::string_view used) { return used == option->keyword || (!option->group.empty() && used == option->group); });
        if (option == row.options.end() || taken)
            return "unexpected '" + keyword + "'; " + usageOf(row);
        seen.push_back(option->keyword);
        if (!option->group.empty())
            seen.push_back(option->group);
        ++index;
        if (!option->value)
            continue;
        if (index >= command.argumentCount())
            return option->missing.empty() ? "'" + keyword + "' needs a value" : std::string(option->missing);
        if (auto error = checkValue(*option->value, command.word(index), row))
            return error;
        ++index;
    }
    return std::nullopt;
}

Check checkArguments(const CommandRow& row, const Command& command)
{
    size_t first = row.subcommand.empty() ? 0 : 1;
    size_t given = command.argumentCount() - first;
    size_t required = static_cast<size_t>(std::count_if(row.arguments.begin(), row.arguments.end(), [](const ArgumentRule& argument) { return !argument.optional; }));
    size_t positional = row.arguments.size();
    if (given < required)
        return usageOf(row);
    // An optional argument left out before the options: the first bare word naming an option
    // starts them ("wait until springboard /alerts absent max 2").
    for (size_t i = required; i < positional && i < given; ++i) {
        const Word& word = command.word(first + i);
        bool namesOption = std::any_of(row.options.begin(), row.options.end(), [&](const OptionRule& option) { return option.keyword == word.text; });
        if (!word.quoted && namesOption) {
            positional = i;
            break;
        }
    }
    if (row.options.empty() && given > positional) {
        bool endsWithValue = positional > 0 && (row.arguments.back().type == Type::Json || row.arguments.back().type == Type::PropertyListValue);
        if (endsWithValue)
            return "text after the value: '" + wordsFrom(command, first + positional) + "' (quote text with spaces)";
        return usageOf(row);
    }
    for (size_t i = 0; i < positional && i < given; ++i) {
        if (auto error = checkValue(row.arguments[i], command.word(first + i), row))
            return error;
    }
    return checkOptions(row, command, first + positional);
}

size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t above = row[j];
            row[j] = std::min({ row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1) });
            diagonal = above;
        }
    }
    return row[b.size()];
}

// " (did you mean NAME?)" for the candidate closest to a misspelt word, when one is close enough
// to be a slip of the finger rather than another word.
std::string suggestion(std::string_view word, const std::vector<std::string_view>& candidates)
{
    std::string_view best;
    size_t bestDistance = SIZE_MAX;
    for (auto candidate : candidates) {
        size_t distance = editDistance(word, candidate);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    size_t allowed = std::max<size_t>(1, std::min(word.size(), best.size()) / 3);
    if (best.empty() || bestDistance == 0 || bestDistance > allowed)
        return {};
    return " (did you mean " + std::string(best) + "?)";
}

std::string combinedUsage(const std::vector<const CommandRow*>& rows)
{
    // Subcommands first: they are the forms a reader is most likely looking for.
    std::vector<const CommandRow*> ordered = rows;
    std::stable_partition(ordered.begin(), ordered.end(), [](const CommandRow* row) { return !row->subcommand.empty(); });
    std::vector<std::string_view> usages;
    for (const auto* row : ordered) {
        if (std::find(usages.begin(), usages.end(), row->usage) == usages.end())
            usages.push_back(row->usage);
    }
    std::string text = "usage: ";
    for (size_t i = 0; i < usages.size(); ++i)
        text += (i ? " | " : "") + std::string(usages[i]);
    return text;
}

}

CommandChecker::Match CommandChecker::match(const std::vector<CommandRow>& rows, const Command& command)
{
    std::vector<const CommandRow*> named;
    for (const auto& row : rows) {
        if (row.name == command.name())
            named.push_back(&row);
    }
    if (named.empty()) {
        std::vector<std::string_view> names;
        for (const auto& row : rows)
            names.push_back(row.name);
        return { nullptr, "unknown command '" + command.name() + "'" + suggestion(command.name(), names) };
    }

    const CommandRow* chosen = nullptr;
    if (command.hasArgument(0)) {
        for (const auto* row : named) {
            if (!row->subcommand.empty() && row->subcommand == command.argument(0))
                chosen = row;
        }
    }
    if (!chosen) {
        std::vector<const CommandRow*> general;
        std::copy_if(named.begin(), named.end(), std::back_inserter(general), [](const CommandRow* row) { return row->subcommand.empty(); });
        if (general.size() == 1 && (command.hasArgument(0) || named.size() == 1))
            chosen = general.front();
        else if (general.empty() && command.hasArgument(0)) {
            std::vector<std::string_view> subcommands;
            for (const auto* row : named)
                subcommands.push_back(row->subcommand);
            return { nullptr, "unknown " + command.name() + " command '" + command.argument(0) + "'" + suggestion(command.argument(0), subcommands) + "; " + combinedUsage(named) };
        }
        else
            return { nullptr, combinedUsage(named) };
    }
    return { chosen, checkArguments(*chosen, command) };
}

std::optional<std::string> CommandChecker::checkPhase(const CommandRow& row, const Command& command, bool booted)
{
    std::string needsBoot = "'" + command.name() + "' needs a booted device (add a boot line before it)";
    switch (row.phase) {
    case Phase::BeforeBoot:
        if (!booted)
            return std::nullopt;
        if (row.kind == CommandKind::Boot)
            return "the device is already booted";
        return "'" + command.name() + "' sets the device up and must come before boot";
    case Phase::AfterBoot:
        return booted ? Check() : Check(needsBoot);
    case Phase::Anytime:
        return std::nullopt;
    case Phase::AnytimeForFiles:
        if (!booted && command.hasArgument(0) && (command.argument(0) == "springboard" || command.argument(0) == "settings"))
            return needsBoot;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Json> CommandChecker::jsonArgument(const Word& word)
{
    if (word.quoted)
        return Json(word.text);
    Json value = Json::parse(word.raw, nullptr, false);
    if (value.is_discarded())
        return std::nullopt;
    return value;
}

bool CommandChecker::isSafeDevicePath(std::string_view path)
{
    if (path.empty() || path.front() != '/' || path == "/")
        return false;
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (path.substr(start, end - start) == "..")
            return false;
        start = end + 1;
    }
    return true;
}

}
