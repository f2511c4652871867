// torvane-sim: boots simulated devices and plays scenarios on them (see sim/README.md).

#include "BuildLayout.h"
#include "DemoPlayer.h"
#include "EmergencyStop.h"
#include "ScenarioRunner.h"
#include "Shell.h"
#include "Version.h"

#include <sim/demo/Tour.h>
#include <sim/protocol/CommandTable.h>
#include <sim/viewer/LiveViewer.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

using namespace sim::driver;
namespace fs = std::filesystem;

namespace {

const char usage[] = R"(usage:
  torvane-sim run DIR|SCRIPT... [--recursive] [--junit FILE] [--out DIR] [--keep DIR]
        plays scenario files (a folder: its .scn files, sorted; --recursive: its sub-folders'
        too), each on a fresh device; exit 0 when every expect held, 1 naming the file, line
        and what differed, 2 for malformed lines (every one is named); --junit writes a JUnit
        XML report, one test case per file
  torvane-sim shell [--device DIR]
        the same commands typed one per line, answers printed; line editing and history on a
        terminal; Ctrl-C abandons the line; exit (or Ctrl-D) ends it with status 0 when every
        command succeeded, else 1
  torvane-sim demo [--out DIR]
        boots a fresh device, plays the built-in tour, writes screenshots and transcript.txt
        to DIR (default ./demo-out)
  torvane-sim view [--port N] [--device DIR] [--record FILE.scn]
        boots a device on real time (fresh, or the one in DIR) and serves it as a page on
        127.0.0.1 (port 8765, or the next free one; 0: any): both screens live, pointer input
        as touches, the controls a screen does not show, the log and the state; --record writes
        what you do as a scenario that `run` replays; Ctrl-C ends it
  torvane-sim help
        this text and every scenario command
  torvane-sim --version
        the version
)";

int usageError(const std::string& message)
{
    std::cerr << "torvane-sim: " << message << "\n" << usage;
    return 2;
}

struct Arguments {
    std::vector<std::string> positional;
    std::optional<std::string> out;
    std::optional<std::string> keep;
    std::optional<std::string> device;
    std::optional<std::string> junit;
    std::optional<std::string> port;
    std::optional<std::string> record;
    bool recursive { false };
};

// Options that take no value.
bool isFlag(const std::string& name) { return name == "recursive"; }

// Options may stand anywhere after the mode, as "--out DIR" or "--out=DIR".
std::optional<std::string> parse(int argc, char** argv, const std::vector<std::string>& allowed, Arguments& arguments)
{
    for (int i = 2; i < argc; ++i) {
        std::string word = argv[i];
        if (!word.starts_with("--")) {
            arguments.positional.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        std::string value;
        auto equals = name.find('=');
        bool inlineValue = equals != std::string::npos;
        if (inlineValue) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end())
            return "unknown option --" + name + " for " + argv[1];
        if (isFlag(name)) {
            if (inlineValue)
                return "--" + name + " takes no value";
            arguments.recursive = true;
            continue;
        }
        std::string needs = name == "junit" || name == "record" ? "a file" : name == "port" ? "a port number" : "a folder";
        if (!inlineValue) {
            if (i + 1 >= argc)
                return "--" + name + " needs " + needs;
            value = argv[++i];
        }
        if (value.empty())
            return "--" + name + " needs " + needs;
        if (name == "out")
            arguments.out = value;
        else if (name == "keep")
            arguments.keep = value;
        else if (name == "device")
            arguments.device = value;
        else if (name == "junit")
            arguments.junit = value;
        else if (name == "port")
            arguments.port = value;
        else if (name == "record")
            arguments.record = value;
    }
    return std::nullopt;
}

}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << usage;
        return 2;
    }
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "help")) {
        std::cout << usage << "\nScenario commands (one a line; sim/SCENARIOS.md tells them in full):\n\n"
                  << sim::protocol::CommandTable::helpText();
        return 0;
    }
    if (!std::strcmp(argv[1], "--version") || !std::strcmp(argv[1], "version")) {
        std::cout << "torvane-sim " << torvaneVersion << "\n";
        return 0;
    }
    EmergencyStop::install();
    std::string mode = argv[1];
    BuildLayout layout = BuildLayout::aroundExecutable();
    Arguments arguments;

    if (mode == "run") {
        if (auto error = parse(argc, argv, { "out", "keep", "recursive", "junit" }, arguments))
            return usageError(*error);
        if (arguments.positional.empty())
            return usageError("run needs at least one scenario file or folder");
        ScenarioRunner::Options options;
        options.layout = layout;
        options.outFolder = fs::absolute(arguments.out.value_or("."));
        if (arguments.keep)
            options.keepFolder = fs::absolute(*arguments.keep);
        options.recursive = arguments.recursive;
        if (arguments.junit)
            options.junitFile = fs::absolute(*arguments.junit);
        std::vector<fs::path> files(arguments.positional.begin(), arguments.positional.end());
        return ScenarioRunner(options, std::cout, std::cerr).run(files);
    }
    if (mode == "shell") {
        if (auto error = parse(argc, argv, { "device" }, arguments))
            return usageError(*error);
        if (!arguments.positional.empty())
            return usageError("shell takes no file; it reads commands from standard input");
        Shell::Options options;
        options.layout = layout;
        if (arguments.device)
            options.deviceFolder = fs::absolute(*arguments.device);
        return Shell(options, std::cin, std::cout, std::cerr).run();
    }
    if (mode == "demo") {
        if (auto error = parse(argc, argv, { "out" }, arguments))
            return usageError(*error);
        if (!arguments.positional.empty())
            return usageError("demo takes no file");
        DemoPlayer::Options options;
        options.layout = layout;
        options.outFolder = fs::absolute(arguments.out.value_or("demo-out"));
        return DemoPlayer(options, std::cout, std::cerr).play(sim::demo::tourScript());
    }
    if (mode == "view") {
        if (auto error = parse(argc, argv, { "port", "device", "record" }, arguments))
            return usageError(*error);
        if (!arguments.positional.empty())
            return usageError("view takes no file");
        sim::viewer::LiveViewer::Options options;
        options.layout = layout;
        if (arguments.port) {
            char* end = nullptr;
            long port = std::strtol(arguments.port->c_str(), &end, 10);
            if (*end || end == arguments.port->c_str() || port < 0 || port > 65535)
                return usageError("--port needs a port number from 0 to 65535, not '" + *arguments.port + "'");
            options.port = static_cast<int>(port);
            options.portGiven = true;
        }
        if (arguments.device)
            options.deviceFolder = fs::absolute(*arguments.device);
        if (arguments.record)
            options.recordFile = fs::absolute(*arguments.record);
        return sim::viewer::LiveViewer(options, std::cout, std::cerr).run();
    }
    return usageError("unknown mode '" + mode + "'");
}
