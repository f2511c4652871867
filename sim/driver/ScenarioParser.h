#pragma once

#include "ScenarioLine.h"

#include <filesystem>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sim::driver {

// A malformed line: `file:line: message`.
class ParseError : public std::runtime_error {
public:
    ParseError(std::string file, size_t line, const std::string& message);
    const std::string& file() const { return m_file; }
    size_t line() const { return m_line; }
    const std::string& reason() const { return m_reason; }

private:
    std::string m_file;
    size_t m_line;
    std::string m_reason;
};

struct Scenario {
    std::string fileName;             // as given, for messages
    std::filesystem::path folder;     // where relative host paths in the file start
    std::vector<ScenarioLine> lines;  // commands only; blank and comment lines are dropped
};

// Turns scenario text into checked commands (CommandRules.h), one line at a time so the shell can
// use it too. It remembers what earlier lines did: whether the device booted, which applications
// were installed.
class ScenarioParser {
public:
    static constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    explicit ScenarioParser(std::string fileName);

    // nullopt for a blank or comment line; throws ParseError for a malformed one. A byte-order
    // mark at the start of line 1 is skipped.
    std::optional<ScenarioLine> parseLine(std::string_view text, size_t lineNumber);
    bool booted() const { return m_booted; }
    // The shell un-does a boot line whose boot failed, so it can be typed again.
    void setBooted(bool booted) { m_booted = booted; }

    // Every line of `text`; throws ParseError at the first malformed line.
    static Scenario parseText(std::string_view text, std::string fileName, std::filesystem::path folder = {});
    // Reads the file; an unreadable file is a ParseError on line 0.
    static Scenario parseFile(const std::filesystem::path&);

private:
    std::string m_fileName;
    bool m_booted { false };
    std::set<std::string> m_installed;
};

}
