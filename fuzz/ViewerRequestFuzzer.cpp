// One HTTP request to the live viewer, as cpp-httplib hands it over: the first byte picks the
// route (/api/input, /api/command, /api/mark or /api/dump), the first line is the Content-Type
// header (for /api/dump, the target parameter) and the rest is the body (the screen parameter).
// Every request must end decoded or refused, never in an exception; a command line goes on
// through the scenario parser as the device thread reads it.
#include <sim/driver/ScenarioParser.h>
#include <sim/viewer/ViewerRequests.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace sim;

namespace {

void require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void readCommand(const std::string& text)
{
    driver::ScenarioParser parser("<viewer>");
    try {
        if (auto line = parser.parseLine(text, 1))
            viewer::isControl(line->command);
    } catch (const driver::ParseError&) {
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    size_t newline = rest.find('\n');
    std::string_view first = rest.substr(0, newline);
    std::string_view second = newline == std::string_view::npos ? std::string_view() : rest.substr(newline + 1);

    const int route = data[0] % 4;
    if (route == 3) {
        auto dump = viewer::dumpRequest(first, second);
        if (auto* request = std::get_if<viewer::DumpRequest>(&dump))
            require(request->target != "hierarchy" || viewer::screenNamed(request->screen), "a hierarchy dump of no screen");
        return 0;
    }

    auto body = viewer::jsonBody(first, second);
    auto* json = std::get_if<protocol::Json>(&body);
    if (!json)
        return 0;
    if (route == 0) {
        auto phases = viewer::fingerPhases(*json);
        if (auto* list = std::get_if<std::vector<viewer::FingerPhase>>(&phases)) {
            for (const auto& phase : *list) {
                require(phase.screen && phase.x >= 0 && phase.x <= 320 && phase.y >= 0 && phase.y <= 480,
                    "a finger phase off the screen");
            }
        }
    } else if (route == 1) {
        auto line = viewer::commandLine(*json);
        if (auto* text = std::get_if<std::string>(&line))
            readCommand(*text);
    }
    return 0;
}
