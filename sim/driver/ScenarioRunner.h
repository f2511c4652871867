#pragma once

#include "BuildLayout.h"
#include "JUnitReport.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace sim::driver {

struct SessionOptions;
struct Scenario;

// `torvane-sim run`: reads every scenario file first (every malformed line of every file is
// reported, and then nothing boots), then plays each on a fresh device. A folder given stands for
// its .scn files, sorted (ScenarioFiles.h).
//   exit 0  every expect held;
//   exit 1  an expect failed (all failures of a file are reported) or a command could not be
//           carried out (the file stops there), named as file:line;
//   exit 2  a malformed line, named as file:line, or a folder without scenarios.
class ScenarioRunner {
public:
    struct Options {
        BuildLayout layout;
        // Relative screenshot and dump files: this folder for one file, <folder>/<run name> for
        // several.
        std::filesystem::path outFolder;
        std::optional<std::filesystem::path> keepFolder; // the same way
        bool recursive { false };                        // folders: their sub-folders too
        std::optional<std::filesystem::path> junitFile;
        // For tests: replaces the processes booted (see SessionOptions::processes).
        std::function<void(SessionOptions&)> adjust;
    };

    ScenarioRunner(Options, std::ostream& out, std::ostream& err);

    int run(const std::vector<std::filesystem::path>& files);

private:
    // Plays one file; every problem goes into `result`.
    void play(const Scenario&, const std::filesystem::path& deviceFolder, const std::filesystem::path& outFolder, ScenarioResult& result);
    bool writeReport(const std::vector<ScenarioResult>&);

    Options m_options;
    std::ostream& m_out;
    std::ostream& m_err;
};

}
