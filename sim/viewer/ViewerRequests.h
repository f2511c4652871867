#pragma once

// What the viewer's page sends, read and checked before anything reaches the device: the JSON
// bodies of the /api posts and the parameters of /api/dump. cpp-httplib hands over the request;
// everything here is plain data in, a decoded request or a refusal (an HTTP status and a message)
// out, so a malformed request never half happens and never throws.

#include <sim/protocol/Command.h>
#include <sim/protocol/Json.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sim::viewer {

// The two screens: the page's name and the host process behind it.
struct Screen {
    const char* name;
    const char* process;
};
inline constexpr Screen screens[] = { { "springboard", "springboard" }, { "settings", "settings-app" } };
const Screen* screenNamed(std::string_view name);

// The controls of the page: hardware and set-up a screen does not show. Anything else (files,
// expectations, waits) is not the page's to send.
bool isControl(const protocol::Command&);

struct Refusal {
    int status;
    std::string message;
};

// A posted body: JSON only (a form another site posts cannot be JSON), and well-formed.
std::variant<protocol::Json, Refusal> jsonBody(std::string_view contentType, std::string_view body);

// One phase of a finger on a screen; x and y are clamped to the screen's 320 x 480 points.
struct FingerPhase {
    const Screen* screen;
    std::string phase; // began, moved or ended
    double x;
    double y;
    uint64_t sequence;
};
// The body of /api/input: a list of phases, each an object with screen, phase, x and y (numbers)
// and an optional sequence number "seq" (a number; 0 unless it is a whole number from 0 up).
// One malformed phase refuses the whole list, so none of it happens.
std::variant<std::vector<FingerPhase>, Refusal> fingerPhases(const protocol::Json& body);

// The body of /api/command: an object whose "line" is the scenario line to run (no line is an
// empty command, which the device answers as such).
std::variant<std::string, Refusal> commandLine(const protocol::Json& body);

// The parameters of /api/dump: a target (springboard, settings or prefs), or "hierarchy" with a
// screen. `screen` is empty unless the target is hierarchy.
struct DumpRequest {
    std::string target;
    std::string screen;
};
std::variant<DumpRequest, Refusal> dumpRequest(std::string_view target, std::string_view screen);

}
