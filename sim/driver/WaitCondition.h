#pragma once

#include "Expectation.h"

#include <sim/protocol/Command.h>
#include <sim/protocol/Json.h>

#include <optional>
#include <string>
#include <variant>

namespace sim::driver {

using protocol::Json;

// What `wait until` waits for, read from its line:
//   wait until springboard|settings|prefs|companion POINTER OP [VALUE] [max SECONDS]
//   wait until log contains "TEXT" [max SECONDS]
// The comparison is expect's own (Expectation.h).
struct WaitCondition {
    static constexpr double defaultMaxSeconds = 5;
    // One frame of a 60 Hz display: the step the clock moves between two looks.
    static constexpr double frameSeconds = 1.0 / 60;

    std::string target;   // springboard, settings, prefs, companion or log
    std::string pointer;  // the JSON pointer, or the text a log line must contain
    Expectation::Op op { Expectation::Op::Contains };
    Json expected;
    double maxSeconds { defaultMaxSeconds };

    bool isLog() const { return target == "log"; }

    // The condition of a `wait until` line whose shape the command table has checked, or why it
    // cannot be one.
    static std::variant<WaitCondition, std::string> read(const protocol::Command&);
};

}
