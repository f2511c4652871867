#include "Recorder.h"

#include <sim/protocol/LineTokenizer.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace sim::viewer {

namespace {

std::string number(double value, int decimals = 2)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    std::string result = text;
    // "1.50" -> "1.5", "2.00" -> "2"
    if (result.find('.') != std::string::npos) {
        while (result.back() == '0')
            result.pop_back();
        if (result.back() == '.')
            result.pop_back();
    }
    if (result == "-0")
        result = "0";
    return result;
}

std::string asWord(const std::string& text) { return protocol::LineTokenizer::quote(text); }

// A key as a JSON Pointer names it (RFC 6901).
std::string pointerKey(const std::string& key)
{
    std::string escaped;
    for (char c : key) {
        if (c == '~')
            escaped += "~0";
        else if (c == '/')
            escaped += "~1";
        else
            escaped += c;
    }
    return escaped;
}

std::string jsonWord(const Json& value)
{
    // Strings go in double quotes as the scenario language reads them; everything else as JSON.
    if (value.is_string())
        return protocol::LineTokenizer::quote(value.get<std::string>(), protocol::LineTokenizer::Quotes::Always);
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void alertExpectations(const std::string& process, const Json& dump, std::vector<std::string>& lines)
{
    if (!dump.is_object() || !dump.contains("alerts") || !dump["alerts"].is_array())
        return;
    const Json& alerts = dump["alerts"];
    lines.push_back("expect " + process + " /alerts length " + std::to_string(alerts.size()));
    for (size_t index = 0; index < alerts.size(); ++index) {
        std::string at = "/alerts/" + std::to_string(index);
        if (alerts[index].contains("title") && alerts[index]["title"].is_string())
            lines.push_back("expect " + process + " " + at + "/title == " + jsonWord(alerts[index]["title"]));
        if (alerts[index].contains("buttons"))
            lines.push_back("expect " + process + " " + at + "/buttons == " + jsonWord(alerts[index]["buttons"]));
    }
}

}

Recorder::Recorder()
{
    m_lines.push_back("# Recorded with torvane-sim view --record on a fresh device; `torvane-sim run` replays it.");
    m_lines.push_back("boot");
}

void Recorder::add(std::string line)
{
    m_lines.push_back(std::move(line));
}

void Recorder::waitUntil(double at)
{
    double gap = at - m_lastAt;
    // Hundredths of a second: finer than a person's hand, coarse enough to read.
    if (gap >= 0.01)
        add("wait " + number(gap));
    m_lastAt = std::max(m_lastAt, at);
}

void Recorder::command(const std::string& line, double at)
{
    waitUntil(at);
    add(line);
}

void Recorder::fingerBegan(const std::string& process, double x, double y, double at, std::optional<std::string> icon)
{
    m_finger = Finger { process, x, y, 0, at, std::move(icon) };
}

void Recorder::fingerMoved(double x, double y)
{
    if (m_finger)
        m_finger->furthest = std::max(m_finger->furthest, std::hypot(x - m_finger->startX, y - m_finger->startY));
}

std::string Recorder::fingerEnded(double x, double y, double at)
{
    if (!m_finger)
        return {};
    fingerMoved(x, y);
    Finger finger = std::move(*m_finger);
    m_finger.reset();

    waitUntil(finger.startedAt);
    double dx = x - finger.startX;
    double dy = y - finger.startY;
    std::string line;
    if (finger.furthest <= tapSlop) {
        line = "tap " + finger.process + " " + number(finger.startX) + " " + number(finger.startY);
    } else if (finger.process == "springboard" && finger.icon && std::abs(dy) >= std::abs(dx)) {
        line = std::string("swipe ") + (dy < 0 ? "up " : "down ") + asWord(*finger.icon) + " by " + number(std::abs(dy));
        if (std::abs(dx) >= 0.01)
            line += " dx " + number(dx);
    } else {
        // The drag takes as long on the replay's clock as the finger took here.
        double seconds = std::clamp(at - finger.startedAt, 0.01, 10.0);
        line = "drag " + finger.process + " " + number(finger.startX) + " " + number(finger.startY) + " " + number(x) + " " + number(y)
            + " seconds " + number(seconds);
        m_lastAt = finger.startedAt + seconds;
    }
    add(line);
    m_lastAt = std::max(m_lastAt, at);
    return line;
}

void Recorder::expectations(const std::vector<std::string>& lines, double at)
{
    waitUntil(at);
    add("# marked at " + number(at) + " s");
    for (const auto& line : lines)
        add(line);
}

std::string Recorder::text() const
{
    std::string text;
    for (const auto& line : m_lines)
        text += line + "\n";
    return text;
}

bool Recorder::save(const std::filesystem::path& file) const
{
    auto temporary = file;
    temporary += ".part";
    {
        std::ofstream out(temporary, std::ios::trunc);
        if (!(out << text()))
            return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    return !error;
}

std::vector<std::string> Recorder::expectationsFor(const Json& springboard, const Json& settings, const Json& prefs)
{
    std::vector<std::string> lines;
    alertExpectations("springboard", springboard, lines);
    alertExpectations("settings", settings, lines);

    if (springboard.is_object() && springboard.contains("popup")) {
        const Json& popup = springboard["popup"];
        if (popup.is_null()) {
            lines.push_back("expect springboard /popup == null");
        } else if (popup.contains("rows") && popup["rows"].is_array()) {
            lines.push_back("expect springboard /popup/rows length " + std::to_string(popup["rows"].size()));
            for (size_t index = 0; index < popup["rows"].size(); ++index) {
                const Json& row = popup["rows"][index];
                if (row.contains("id"))
                    lines.push_back("expect springboard /popup/rows/" + std::to_string(index) + "/id == " + jsonWord(row["id"]));
            }
        }
    }

    if (springboard.is_object() && springboard.contains("icons") && springboard["icons"].is_object()) {
        for (const auto& [key, icon] : springboard["icons"].items()) {
            if (!icon.is_object() || !icon.contains("indicator"))
                continue;
            std::string at = "/icons/" + pointerKey(key) + "/indicator";
            const Json& indicator = icon["indicator"];
            if (indicator.is_null())
                lines.push_back("expect springboard " + asWord(at) + " == null");
            else if (indicator.contains("alpha") && indicator["alpha"].is_number())
                lines.push_back("expect springboard " + asWord(at + "/alpha") + " ~= " + number(indicator["alpha"].get<double>(), 3));
        }
    }

    if (prefs.is_null()) {
        lines.push_back("expect prefs \"\" == null");
    } else if (prefs.is_object()) {
        for (const auto& [key, value] : prefs.items())
            lines.push_back("expect prefs " + asWord("/" + pointerKey(key)) + " == " + jsonWord(value));
    }
    return lines;
}

}
