#include "JUnitReport.h"

#include "OutputFile.h"

#include <cstdio>

namespace sim::driver {

namespace {

constexpr std::string_view replacement = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0.
size_t sequenceLength(std::string_view text)
{
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(0);
    size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || length > text.size())
        return 0;
    uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    static constexpr uint32_t smallest[] = { 0, 0, 0x80, 0x800, 0x10000 };
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE || code == 0xFFFF)
        return 0;
    return length;
}

std::string seconds(double value)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.3f", value);
    return text;
}

std::string attribute(std::string_view name, std::string_view value)
{
    return " " + std::string(name) + "=\"" + JUnitReport::escape(value) + "\"";
}

}

std::string JUnitReport::escape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        size_t length = sequenceLength(text);
        if (length == 0) {
            out += replacement;
            text.remove_prefix(1);
            continue;
        }
        char c = text.front();
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        case '\t': out += "&#9;"; break;
        default:
            if (length == 1 && static_cast<unsigned char>(c) < 0x20)
                out += replacement;
            else
                out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return out;
}

std::string JUnitReport::xml(const std::vector<ScenarioResult>& results)
{
    size_t failures = 0, errors = 0, skipped = 0;
    double total = 0;
    for (const auto& result : results) {
        total += result.seconds;
        if (!result.played && result.problems.empty())
            ++skipped;
        for (const auto& problem : result.problems)
            ++(problem.kind == ScenarioProblem::Kind::Expect ? failures : errors);
    }
    std::string counts = attribute("tests", std::to_string(results.size())) + attribute("failures", std::to_string(failures))
        + attribute("errors", std::to_string(errors)) + attribute("skipped", std::to_string(skipped)) + attribute("time", seconds(total));

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<testsuites" + attribute("name", "torvane-sim") + counts + ">\n";
    out += "  <testsuite" + attribute("name", "torvane-sim") + counts + ">\n";
    for (const auto& result : results) {
        out += "    <testcase" + attribute("name", result.name) + attribute("classname", "torvane-sim") + attribute("file", result.fileName)
            + attribute("time", seconds(result.seconds));
        if (result.problems.empty() && result.played) {
            out += "/>\n";
            continue;
        }
        out += ">\n";
        if (!result.played && result.problems.empty())
            out += "      <skipped" + attribute("message", "not played: another file has a malformed line") + "/>\n";
        for (const auto& problem : result.problems) {
            const char* element = problem.kind == ScenarioProblem::Kind::Expect ? "failure" : "error";
            const char* type = problem.kind == ScenarioProblem::Kind::Expect ? "expect" : problem.kind == ScenarioProblem::Kind::Error ? "command" : "malformed";
            std::string where = problem.file + ":" + std::to_string(problem.line) + ": ";
            std::string body = where + (problem.command.empty() ? "" : problem.command + "\n    ") + problem.message;
            out += "      <" + std::string(element) + attribute("message", problem.message) + attribute("type", type) + attribute("file", problem.file)
                + attribute("line", std::to_string(problem.line)) + ">" + escape(body) + "</" + element + ">\n";
        }
        out += "    </testcase>\n";
    }
    out += "  </testsuite>\n</testsuites>\n";
    return out;
}

bool JUnitReport::write(const std::filesystem::path& path, const std::vector<ScenarioResult>& results)
{
    std::error_code error;
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), error);
    return OutputFile::write(path, xml(results));
}

}
