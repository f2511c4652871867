#pragma once

#include "LineTokenizer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim::protocol {

// A request: the first word names it, the rest are its arguments. Hosts receive one for every
// request line; the driver builds one for every scenario line.
class Command {
public:
    Command() = default;
    explicit Command(std::vector<Word> words);
    // Splits `line`; throws ControlError when the line is malformed or empty.
    static Command parse(std::string_view line);

    const std::string& name() const { return m_words.at(0).text; }
    size_t argumentCount() const { return m_words.empty() ? 0 : m_words.size() - 1; }
    // Argument `index` (0 = first after the name). Throws ControlError when missing.
    const std::string& argument(size_t index) const { return word(index).text; }
    const Word& word(size_t index) const;
    bool hasArgument(size_t index) const { return index < argumentCount(); }

    // Typed arguments; each throws ControlError naming the argument when it does not read fully.
    double number(size_t index) const;
    int64_t integer(size_t index) const;

    const std::vector<Word>& words() const { return m_words; }
    // The request line, re-quoted: splitting it again gives the same words, and words written in
    // quotes are quoted again.
    std::string line() const;

private:
    std::vector<Word> m_words;
};

// Strict number reading shared by hosts and the driver: the whole text must be a finite decimal
// number (no trailing garbage, no "nan" or "inf").
bool parseNumber(std::string_view text, double& out);
bool parseInteger(std::string_view text, int64_t& out);

}
