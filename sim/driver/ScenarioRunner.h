#pragma once

#include "BuildLayout.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace sim::driver {

struct SessionOptions;
struct Scenario;

// `torvane-sim run`: reads every scenario file first (a malformed line anywhere stops the run
// before anything boots), then plays each on a fresh device.
//   exit 0  every expect held;
//   exit 1  an expect failed (all failures of a file are reported) or a command could not be
//           carried out (the file stops there), named as file:line;
//   exit 2  a malformed line, named as file:line.
class ScenarioRunner {
public:
    struct Options {
        BuildLayout layout;
        std::filesystem::path outFolder;            // relative screenshot and dump files
        std::optional<std::filesystem::path> keepFolder;
        // For tests: replaces the processes booted (see SessionOptions::processes).
        std::function<void(SessionOptions&)> adjust;
    };

    ScenarioRunner(Options, std::ostream& out, std::ostream& err);

    int run(const std::vector<std::filesystem::path>& files);

private:
    // True when every expect of the file held and no command failed.
    bool play(const Scenario&, const std::filesystem::path& deviceFolder);

    Options m_options;
    std::ostream& m_out;
    std::ostream& m_err;
};

}
