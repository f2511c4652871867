#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sim::driver {

// What went wrong on one line of a scenario.
struct ScenarioProblem {
    enum class Kind {
        Expect,    // an expectation did not hold (the file went on)
        Error,     // a command could not be carried out (the file stopped there)
        Malformed, // the line could not be read (nothing ran)
    };
    Kind kind { Kind::Expect };
    std::string file;    // the file the line is in (an included file's own name)
    size_t line { 0 };   // 0 when no line is to blame (the device could not be made)
    std::string command; // the line's command, re-quoted
    std::string message;
};

// How one scenario file of a run went.
struct ScenarioResult {
    std::string fileName; // as given to the run
    std::string name;     // its run name (ScenarioFiles::runNames)
    bool played { false };
    double seconds { 0 };
    std::vector<ScenarioProblem> problems;

    bool passed() const { return played && problems.empty(); }
};

// A run as a JUnit XML report, for CI systems: one test suite, one test case per scenario file;
// each failed expectation a <failure>, a command that could not be carried out an <error>, and a
// malformed line an <error> as well (nothing was played then, so the other files are <skipped/>).
// Every problem carries the file and line it happened on as attributes, and "file:line: command"
// and the message as its text.
class JUnitReport {
public:
    static std::string xml(const std::vector<ScenarioResult>&);
    // Writes the report; false (errno set) when the file cannot be written.
    static bool write(const std::filesystem::path&, const std::vector<ScenarioResult>&);

    // Text as XML character data or attribute value: markup escaped, and what XML 1.0 cannot hold
    // (control characters, broken UTF-8) replaced by U+FFFD.
    static std::string escape(std::string_view);
};

}
