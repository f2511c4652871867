#pragma once

#include <sim/protocol/Json.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim::viewer {

using protocol::Json;

// Turns what a person does in the live viewer into a scenario that `torvane-sim run` replays on a
// fresh device. Times are seconds of real time since the recording started; the gaps between
// actions become `wait` lines, which the replay lets pass on its virtual clock.
//
// A finger becomes one line when it lifts: a press that hardly moved is a `tap`; a drag on a
// SpringBoard icon that goes more up or down than across is a `swipe` of that icon (the replay
// finds the icon by name, wherever it then is); any other drag is a `drag` that takes as long as
// the finger did. Controls are written as the commands they sent.
class Recorder {
public:
    // Lines that run before what the person did (the header and `boot`).
    Recorder();

    // A control's scenario command ("launch com.apple.Maps mb 40"), sent at `at`.
    void command(const std::string& line, double at);

    // `process` is "springboard" or "settings"; points are screen points. `icon` names the icon the
    // finger went down on, if any.
    void fingerBegan(const std::string& process, double x, double y, double at, std::optional<std::string> icon);
    void fingerMoved(double x, double y);
    // Returns the line the finger became (empty when no finger was down).
    std::string fingerEnded(double x, double y, double at);

    // `expect` lines for what the dumps show now, written at `at`.
    void expectations(const std::vector<std::string>& lines, double at);

    // The scenario so far.
    std::string text() const;
    // Writes text() to `file` (through a temporary file, so a reader never sees half of it).
    // Returns false when it cannot.
    bool save(const std::filesystem::path& file) const;

    // A press that stays within this many points of where it began is a tap.
    static constexpr double tapSlop = 6;

    // The `expect` lines for the state the dumps give: every alert of either process (title and
    // buttons), the quick-killer popup and its rows, each icon's indicator (absent, or its
    // opacity) and every key of the preferences file. Memory figures are left out: they are the
    // processes' own and differ from one run to the next.
    static std::vector<std::string> expectationsFor(const Json& springboard, const Json& settings, const Json& prefs);

private:
    void waitUntil(double at);
    void add(std::string line);

    struct Finger {
        std::string process;
        double startX { 0 }, startY { 0 };
        double furthest { 0 };
        double startedAt { 0 };
        std::optional<std::string> icon;
    };

    std::vector<std::string> m_lines;
    std::optional<Finger> m_finger;
    double m_lastAt { 0 };
};

}
