// Scenario text through the parser and the command checker, as `torvane-sim run` reads a file.
// Malformed text must end in ParseError, never in another exception; every line read must write
// back (Command::line) to a line that splits into the same words. Includes resolve in a folder
// of this fuzzer's own with one ordinary file and one that includes itself.
#include <sim/driver/ScenarioParser.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

using namespace sim;

namespace {

std::filesystem::path includeFolder()
{
    static std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "torvane-fuzz-scenario-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        std::ofstream(std::filesystem::path(pattern) / "part.scn") << "boot\nhome\n";
        std::ofstream(std::filesystem::path(pattern) / "loop.scn") << "include loop.scn\n";
        return std::filesystem::path(pattern);
    }();
    return folder;
}

void checkLine(const driver::ScenarioLine& line)
{
    std::string written = line.command.line();
    protocol::Command again = protocol::Command::parse(written);
    bool same = again.words().size() == line.command.words().size();
    for (size_t i = 0; same && i < again.words().size(); ++i)
        same = again.words()[i].text == line.command.words()[i].text;
    if (!same) {
        std::fprintf(stderr, "line %zu \"%s\" wrote back as \"%s\", which splits differently\n", line.lineNumber, line.text.c_str(), written.c_str());
        std::abort();
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // Includes may name any file, pipes and devices too (a scenario can include /dev/stdin): keep
    // the fuzzer to files, where reading ends.
    for (std::string_view special : { "/dev", "/proc", "/sys", "/run" }) {
        if (text.find(special) != std::string_view::npos)
            return 0;
    }
    try {
        auto scenario = driver::ScenarioParser::parseText(text, "fuzzed.scn", includeFolder());
        for (const auto& line : scenario.lines)
            checkLine(line);
    } catch (const driver::ParseError& error) {
        error.all();
    }
    return 0;
}
