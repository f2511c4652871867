#include "Command.h"

#include "ControlError.h"

#include <charconv>
#include <cmath>
#include <type_traits>

namespace sim::protocol {

Command::Command(std::vector<Word> words)
    : m_words(std::move(words))
{
}

Command Command::parse(std::string_view line)
{
    auto split = LineTokenizer::split(line);
    if (!split.ok())
        throw ControlError(*split.error + " at column " + std::to_string(split.errorColumn));
    if (split.words.empty())
        throw ControlError("empty request");
    return Command(std::move(split.words));
}

const Word& Command::word(size_t index) const
{
    if (index + 1 >= m_words.size())
        throw ControlError("'" + (m_words.empty() ? std::string() : name()) + "' needs argument " + std::to_string(index + 1));
    return m_words[index + 1];
}

double Command::number(size_t index) const
{
    double value = 0;
    if (!parseNumber(argument(index), value))
        throw ControlError("'" + argument(index) + "' is not a number");
    return value;
}

int64_t Command::integer(size_t index) const
{
    int64_t value = 0;
    if (!parseInteger(argument(index), value))
        throw ControlError("'" + argument(index) + "' is not an integer");
    return value;
}

std::string Command::line() const
{
    std::string line;
    for (const auto& word : m_words) {
        if (!line.empty())
            line += ' ';
        // Quoted words stay quoted, so an echoed line reads as it was written. A bare word holding
        // a carriage return gets quotes too: written last, the split would take it for the line's end.
        if (word.quoted || (word.raw.find('\r') != std::string::npos && word.raw.front() != '[' && word.raw.front() != '{'))
            line += LineTokenizer::quote(word.text, LineTokenizer::Quotes::Always);
        else
            line += word.raw;
    }
    return line;
}

namespace {

// A whole word as a number: an optional leading '+' (not before a '-'), nothing left over, and
// for reals a finite value.
template<typename Number>
bool parseWholeWord(std::string_view text, Number& out)
{
    if (text.empty())
        return false;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (*begin == '+' && text.size() > 1 && text[1] != '-')
        ++begin;
    if constexpr (std::is_floating_point_v<Number>) {
        auto [ptr, ec] = std::from_chars(begin, end, out, std::chars_format::general);
        return ec == std::errc() && ptr == end && std::isfinite(out);
    } else {
        auto [ptr, ec] = std::from_chars(begin, end, out);
        return ec == std::errc() && ptr == end;
    }
}

}

bool parseNumber(std::string_view text, double& out)
{
    return parseWholeWord(text, out);
}

bool parseInteger(std::string_view text, int64_t& out)
{
    return parseWholeWord(text, out);
}

}
