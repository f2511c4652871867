#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// The in-process record of NSLog's lines, so tests can check what was logged. Holds the most
// recent `capacity` messages (without the process prefix or the trailing newline); older ones are
// dropped so a long-running process does not grow without bound. Safe to use from any thread.
class LogSink {
public:
    static constexpr size_t capacity = 4096;

    static std::vector<std::string> lines();
    static void clear();
    static void append(std::string_view message);
    // True when some recorded line contains `fragment`.
    static bool contains(std::string_view fragment);
};

}
