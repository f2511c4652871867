#pragma once

#include "BuildLayout.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string_view>

namespace sim::driver {

struct SessionOptions;

// `torvane-sim demo`: boots a fresh device and plays the built-in tour (sim/demo/Tour.h), writing
// its screenshots and dumps to the output folder together with transcript.txt, every command
// followed by its answer. A command that fails is noted in the transcript and the tour goes on
// (so the tour shows what exists so far); a failed boot ends it.
class DemoPlayer {
public:
    struct Options {
        BuildLayout layout;
        std::filesystem::path outFolder;
        std::function<void(SessionOptions&)> adjust; // for tests
    };

    DemoPlayer(Options, std::ostream& out, std::ostream& err);
    // 0 when every command succeeded, 1 when one failed, 2 when the tour itself is malformed.
    int play(std::string_view script);

private:
    Options m_options;
    std::ostream& m_out;
    std::ostream& m_err;
};

}
