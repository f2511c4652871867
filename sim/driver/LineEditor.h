#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace sim::driver {

// The shell's input on a terminal: line editing and history (GNU readline), the history kept in a
// file between sessions. Ctrl-C abandons the line being typed and nothing else: while the editor
// lives, SIGINT only marks the line abandoned (a command running when it comes finishes first), so
// the device the shell plays on is never stopped by it.
class LineEditor {
public:
    explicit LineEditor(std::optional<std::filesystem::path> historyFile);
    ~LineEditor();
    LineEditor(const LineEditor&) = delete;
    LineEditor& operator=(const LineEditor&) = delete;

    enum class Status { Line, Abandoned, End };
    // Reads one line after showing `prompt`. End at Ctrl-D on an empty line or end of input.
    Status read(const std::string& prompt, std::string& line);

    // ~/.torvane-sim_history, or nothing without a home folder.
    static std::optional<std::filesystem::path> defaultHistoryFile();

private:
    std::optional<std::filesystem::path> m_historyFile;
};

}
