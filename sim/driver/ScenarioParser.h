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

// A malformed line: `file:line: message`. Reading a whole file gathers every malformed line of it
// (and of the files it includes) into one error: the first is the error itself, `all()` lists each.
class ParseError : public std::runtime_error {
public:
    ParseError(std::string file, size_t line, const std::string& message);
    const std::string& file() const { return m_file; }
    size_t line() const { return m_line; }
    const std::string& reason() const { return m_reason; }

    // Every malformed line found, this one first.
    std::vector<ParseError> all() const;
    static ParseError gather(std::vector<ParseError>);

private:
    std::string m_file;
    size_t m_line;
    std::string m_reason;
    std::vector<ParseError> m_following;
};

struct Scenario {
    std::string fileName;             // as given, for messages
    std::filesystem::path folder;     // where relative host paths in the file start
    std::vector<ScenarioLine> lines;  // commands only; blank and comment lines are dropped, and
                                      // include lines are replaced by the lines of their file
};

// Turns scenario text into checked commands (CommandRules.h), one line at a time so the shell can
// use it too. It remembers what earlier lines did: whether the device booted, which applications
// were installed.
class ScenarioParser {
public:
    static constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    explicit ScenarioParser(std::string fileName, std::filesystem::path folder = {});

    // nullopt for a blank or comment line; throws ParseError for a malformed one. A byte-order
    // mark at the start of line 1 is skipped. An include line is returned as it is (kind
    // Include): `included` reads its file.
    std::optional<ScenarioLine> parseLine(std::string_view text, size_t lineNumber);
    // The lines of the file an include line names (relative to the folder of the file the line
    // is in), read with this parser's state, so a boot or app install in it counts for the lines
    // after the include. Throws ParseError with every malformed line of it, for a file that
    // cannot be read, and for a file that is already being read (a cycle).
    std::vector<ScenarioLine> included(const ScenarioLine& includeLine);

    bool booted() const { return m_booted; }
    // The shell un-does a boot line whose boot failed, so it can be typed again.
    void setBooted(bool booted) { m_booted = booted; }

    // Every line of `text`; throws ParseError naming every malformed line.
    static Scenario parseText(std::string_view text, std::string fileName, std::filesystem::path folder = {});
    // Reads the file; an unreadable file is a ParseError on line 0.
    static Scenario parseFile(const std::filesystem::path&);

private:
    // Appends the lines of `text` to `lines` (include lines expanded) and every malformed line to
    // `errors`.
    void parseInto(std::string_view text, std::vector<ScenarioLine>& lines, std::vector<ParseError>& errors);
    static std::string readFile(const std::filesystem::path&, const std::string& fileName);

    std::string m_fileName;
    std::filesystem::path m_folder;
    bool m_booted { false };
    std::set<std::string> m_installed;
    // Canonical paths of the files being read, outermost first: an include of one is a cycle.
    std::vector<std::filesystem::path> m_reading;
};

}
