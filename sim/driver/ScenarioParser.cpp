#include "ScenarioParser.h"

#include "CommandRules.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace sim::driver {

ParseError::ParseError(std::string file, size_t line, const std::string& message)
    : std::runtime_error(file + ":" + std::to_string(line) + ": " + message)
    , m_file(std::move(file))
    , m_line(line)
    , m_reason(message)
{
}

ScenarioParser::ScenarioParser(std::string fileName)
    : m_fileName(std::move(fileName))
{
}

std::optional<ScenarioLine> ScenarioParser::parseLine(std::string_view text, size_t lineNumber)
{
    // Editors may start a UTF-8 file with a byte-order mark; it is no part of the first word.
    if (lineNumber == 1 && text.starts_with(byteOrderMark))
        text.remove_prefix(byteOrderMark.size());
    auto split = protocol::LineTokenizer::split(text);
    if (!split.ok())
        throw ParseError(m_fileName, lineNumber, *split.error + " (column " + std::to_string(split.errorColumn) + ")");
    if (split.words.empty())
        return std::nullopt;

    protocol::Command command(std::move(split.words));
    auto verdict = CommandRules::check(command, m_booted);
    if (verdict.error)
        throw ParseError(m_fileName, lineNumber, *verdict.error);

    if (command.name() == "app") {
        const std::string& bundleIdentifier = command.argument(1);
        if (!m_installed.insert(bundleIdentifier).second)
            throw ParseError(m_fileName, lineNumber, "'" + bundleIdentifier + "' is already installed");
    }
    if (verdict.kind == CommandKind::Boot)
        m_booted = true;

    ScenarioLine line;
    line.command = std::move(command);
    line.lineNumber = lineNumber;
    line.kind = verdict.kind;
    line.text = std::string(text);
    while (!line.text.empty() && (line.text.back() == '\r' || line.text.back() == '\n'))
        line.text.pop_back();
    return line;
}

Scenario ScenarioParser::parseText(std::string_view text, std::string fileName, std::filesystem::path folder)
{
    Scenario scenario;
    scenario.fileName = fileName;
    scenario.folder = std::move(folder);
    ScenarioParser parser(std::move(fileName));
    size_t lineNumber = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        ++lineNumber;
        std::string_view line = text.substr(start, end - start);
        if (line.find('\0') != std::string_view::npos)
            throw ParseError(scenario.fileName, lineNumber, "NUL character in the line");
        if (auto parsed = parser.parseLine(line, lineNumber))
            scenario.lines.push_back(std::move(*parsed));
        if (end == text.size())
            break;
        start = end + 1;
    }
    return scenario;
}

Scenario ScenarioParser::parseFile(const std::filesystem::path& path)
{
    std::error_code error;
    auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        throw ParseError(path.string(), 0, "no such scenario file");
    if (status.type() == std::filesystem::file_type::directory)
        throw ParseError(path.string(), 0, "is a folder, not a scenario file (give its files: " + (path / "*.scn").string() + ")");
    // Anything else that reads as text will do: a file, /dev/null (an empty scenario), a pipe.
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ParseError(path.string(), 0, std::string("cannot read the file: ") + std::strerror(errno));
    std::ostringstream content;
    content << in.rdbuf();
    auto folder = std::filesystem::absolute(path).parent_path();
    return parseText(content.str(), path.string(), folder);
}

}
