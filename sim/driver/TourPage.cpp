#include "TourPage.h"

#include <fstream>
#include <sstream>

namespace sim::driver {

namespace {

std::string escaped(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

constexpr const char* pageStyle = R"css(
body { font: 15px/1.4 "Nimbus Sans", Helvetica, Arial, sans-serif; margin: 2em auto; max-width: 60em; color: #222; }
h1 { font-size: 1.6em; }
.step { display: flex; gap: 1.5em; margin: 2em 0; padding-top: 1.5em; border-top: 1px solid #ccc; }
.step img { width: 320px; height: 480px; border: 1px solid #999; flex: none; }
.caption { font-size: 1.1em; font-weight: bold; margin: 0 0 .6em; }
pre { background: #f4f4f4; padding: .5em; font-size: 12px; white-space: pre-wrap; word-break: break-all; }
)css";

}

TourPage::TourPage(std::map<std::string, std::string> captions)
    : m_captions(std::move(captions))
{
}

void TourPage::addCommand(const std::string& line)
{
    m_current.commands.push_back(line);
}

void TourPage::addLogLines(const std::vector<std::string>& everyLine)
{
    // The log only grows, and one line may stand several times: a line is new once it stands more
    // often than it did when last looked at.
    std::map<std::string, size_t> counted;
    for (const auto& line : everyLine) {
        if (++counted[line] > m_logLinesSeen[line]) {
            m_logLinesSeen[line] = counted[line];
            m_current.logLines.push_back(line);
        }
    }
}

void TourPage::addDump(const std::string& fileName)
{
    // A dump taken right after a picture, before anything else happened, shows that picture's state.
    if (m_current.commands.empty() && !m_steps.empty())
        m_steps.back().dumps.push_back(fileName);
    else
        m_current.dumps.push_back(fileName);
}

void TourPage::addScreenshot(const std::string& fileName)
{
    m_current.screenshot = fileName;
    auto caption = m_captions.find(fileName);
    m_current.caption = caption != m_captions.end() ? caption->second : fileName;
    m_steps.push_back(std::move(m_current));
    m_current = {};
}

std::string TourPage::html() const
{
    std::ostringstream page;
    page << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>The Torvane tour</title><style>"
         << pageStyle << "</style></head><body>\n<h1>The Torvane tour</h1>\n"
         << "<p>Each picture is the simulated device's screen after the commands beside it; under them, what the "
            "device's processes logged meanwhile. <a href=\"transcript.txt\">The whole transcript</a>.</p>\n";
    auto list = [&page](const char* title, const std::vector<std::string>& lines) {
        if (lines.empty())
            return;
        page << "<div>" << title << "</div><pre>";
        for (const auto& line : lines)
            page << escaped(line) << "\n";
        page << "</pre>";
    };
    auto step = [&](const Step& shown, bool withPicture) {
        page << "<section class=\"step\">";
        if (withPicture)
            page << "<img src=\"" << escaped(shown.screenshot) << "\" alt=\"" << escaped(shown.caption) << "\">";
        page << "<div><p class=\"caption\">" << escaped(shown.caption) << "</p>";
        list("Commands", shown.commands);
        list("Log", shown.logLines);
        if (!shown.dumps.empty()) {
            page << "<div>Dumps:";
            for (const auto& dump : shown.dumps)
                page << " <a href=\"" << escaped(dump) << "\">" << escaped(dump) << "</a>";
            page << "</div>";
        }
        page << "</div></section>\n";
    };
    for (const auto& shown : m_steps)
        step(shown, true);
    // Whatever came after the last picture.
    if (!m_current.commands.empty())
        step({ {}, "After the last picture", m_current.commands, m_current.logLines, m_current.dumps }, false);
    page << "</body></html>\n";
    return page.str();
}

bool TourPage::write(const std::filesystem::path& file) const
{
    std::ofstream out(file, std::ios::trunc);
    out << html();
    return static_cast<bool>(out.flush());
}

}
