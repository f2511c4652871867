#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tweak {

// Measures the resident memory of one process with a `ps | gawk` pipeline, the way the add-on
// reports memory in its alerts and in the quick killer. Split into building the command, running
// it and reading its output, so the text handling can be checked on canned output.
class MemoryProbe {
public:
    // Where the process table comes from; tests put canned `ps` output in its place.
    static constexpr std::string_view processTableCommand = "ps -eo pid,rss";

    // "ps -eo pid,rss | gawk '$1 == PID {print $2}'". The first column must equal the process id
    // exactly: a pattern match on the digits would also pick processes whose id merely contains
    // them (12 in 312 or 1207), and whichever of those `ps` lists first would be reported.
    static std::string command(int pid, std::string_view source = processTableCommand);

    // Runs the command through popen and collects everything it prints, read in 2048-byte pieces
    // until end of file. Nothing when the command cannot be started.
    static std::optional<std::string> run(const std::string& command);

    // The output's leading integer (kilobytes; so the first printed line counts, and no output
    // counts as 0) divided by 1024 as a single-precision float, written with "%f": megabytes.
    static std::string megabytesFromOutput(std::string_view output);

    // The three steps together, on the current process table; "0.000000" when the command cannot
    // be started.
    static std::string measure(int pid);

    // Replaces `ps` as the source of the process table for every later measure: a command printing
    // "PID RSS" lines. Tests give canned figures this way and still run the real pipeline; an empty
    // command puts `ps` back.
    static void setProcessTableCommand(std::string command);
};

}
