#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace sim::driver {

// index.html of the tour's folder: the screenshots in order, each with its one-line caption, the
// commands that led to it, the log lines the device wrote meanwhile and links to the dumps taken
// around it. The tour feeds it as it plays; write() puts the page next to the screenshots.
class TourPage {
public:
    // `captions` maps a screenshot's file name to its caption.
    explicit TourPage(std::map<std::string, std::string> captions);

    void addCommand(const std::string& line);
    // Lines the device has logged so far, all of them: the page keeps the ones it has not shown.
    void addLogLines(const std::vector<std::string>& everyLine);
    // A dump right after a screenshot belongs to that screenshot's step, else to the coming one.
    void addDump(const std::string& fileName);
    // Ends a step at its screenshot.
    void addScreenshot(const std::string& fileName);

    bool write(const std::filesystem::path& file) const;
    std::string html() const;

private:
    struct Step {
        std::string screenshot;
        std::string caption;
        std::vector<std::string> commands;
        std::vector<std::string> logLines;
        std::vector<std::string> dumps;
    };

    std::map<std::string, std::string> m_captions;
    std::vector<Step> m_steps;
    Step m_current;
    std::map<std::string, size_t> m_logLinesSeen;
};

}
