#include "ViewerRequests.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace sim::viewer {

using protocol::Json;

const Screen* screenNamed(std::string_view name)
{
    for (const auto& screen : screens) {
        if (name == screen.name)
            return &screen;
    }
    return nullptr;
}

bool isControl(const protocol::Command& command)
{
    static const std::set<std::string> names { "launch", "quit", "home", "lock", "unlock", "switcher", "activator", "badge" };
    if (names.contains(command.name()))
        return true;
    return command.name() == "settings" && command.argumentCount() >= 1 && (command.argument(0) == "open" || command.argument(0) == "leave");
}

std::variant<Json, Refusal> jsonBody(std::string_view contentType, std::string_view body)
{
    if (!contentType.starts_with("application/json"))
        return Refusal { 415, "JSON only" };
    Json parsed = Json::parse(body, nullptr, false);
    if (parsed.is_discarded())
        return Refusal { 400, "not JSON" };
    return parsed;
}

std::variant<std::vector<FingerPhase>, Refusal> fingerPhases(const Json& body)
{
    if (!body.is_array())
        return Refusal { 400, "a list of finger phases" };
    const Refusal malformed { 400, "each phase needs screen, phase, x and y" };
    std::vector<FingerPhase> phases;
    for (const auto& event : body) {
        if (!event.is_object())
            return malformed;
        auto screen = event.find("screen");
        auto phase = event.find("phase");
        auto x = event.find("x");
        auto y = event.find("y");
        if (screen == event.end() || !screen->is_string() || phase == event.end() || !phase->is_string()
            || x == event.end() || !x->is_number() || y == event.end() || !y->is_number())
            return malformed;
        const Screen* named = screenNamed(screen->get_ref<const std::string&>());
        const std::string& name = phase->get_ref<const std::string&>();
        double px = x->get<double>();
        double py = y->get<double>();
        if (!named || (name != "began" && name != "moved" && name != "ended") || !std::isfinite(px) || !std::isfinite(py))
            return malformed;
        uint64_t sequence = 0;
        if (auto seq = event.find("seq"); seq != event.end()) {
            if (!seq->is_number())
                return Refusal { 400, "seq must be a number" };
            // Only a whole count moves the page's wait for a frame; anything else waits for none.
            if (seq->is_number_unsigned())
                sequence = seq->get<uint64_t>();
        }
        // A finger can leave the picture while it is down; the screen ends at its edges.
        phases.push_back({ named, name, std::clamp(px, 0.0, 320.0), std::clamp(py, 0.0, 480.0), sequence });
    }
    return phases;
}

std::variant<std::string, Refusal> commandLine(const Json& body)
{
    if (!body.is_object())
        return Refusal { 400, "an object with the command's line" };
    auto line = body.find("line");
    if (line == body.end())
        return std::string();
    if (!line->is_string())
        return Refusal { 400, "line must be text" };
    return line->get<std::string>();
}

std::variant<DumpRequest, Refusal> dumpRequest(std::string_view target, std::string_view screen)
{
    if (target == "hierarchy") {
        if (!screenNamed(screen))
            return Refusal { 400, "screen: springboard or settings" };
        return DumpRequest { std::string(target), std::string(screen) };
    }
    if (target != "springboard" && target != "settings" && target != "prefs")
        return Refusal { 400, "target: springboard, settings, prefs or hierarchy" };
    return DumpRequest { std::string(target), {} };
}

}
