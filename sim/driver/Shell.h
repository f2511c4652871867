#pragma once

#include "BuildLayout.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>

namespace sim::driver {

struct SessionOptions;

// `torvane-sim shell`: scenario commands typed one per line, each answered on standard output
// (dumps as JSON, "ok", "FAILED: ..." for an expect that did not hold, "error: ..."). A malformed
// line is reported and skipped; the session goes on. `exit` or the end of input (Ctrl-D) stops
// every process. With a device folder, the device lives there and is kept. On a terminal, lines
// are edited and remembered (LineEditor.h), and Ctrl-C abandons the line being typed.
class Shell {
public:
    struct Options {
        BuildLayout layout;
        std::optional<std::filesystem::path> deviceFolder;
        std::function<void(SessionOptions&)> adjust; // for tests
    };

    Shell(Options, std::istream& in, std::ostream& out, std::ostream& err);
    // 0 when every command succeeded, 1 otherwise.
    int run();

private:
    Options m_options;
    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
};

}
