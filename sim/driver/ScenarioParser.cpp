#include "ScenarioParser.h"

#include "CommandRules.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace sim::driver {

namespace fs = std::filesystem;

ParseError::ParseError(std::string file, size_t line, const std::string& message)
    : std::runtime_error(file + ":" + std::to_string(line) + ": " + message)
    , m_file(std::move(file))
    , m_line(line)
    , m_reason(message)
{
}

std::vector<ParseError> ParseError::all() const
{
    std::vector<ParseError> errors { *this };
    errors.front().m_following.clear();
    errors.insert(errors.end(), m_following.begin(), m_following.end());
    return errors;
}

ParseError ParseError::gather(std::vector<ParseError> errors)
{
    std::vector<ParseError> flat;
    for (const auto& error : errors) {
        auto each = error.all();
        flat.insert(flat.end(), each.begin(), each.end());
    }
    ParseError first = flat.front();
    first.m_following.assign(flat.begin() + 1, flat.end());
    return first;
}

ScenarioParser::ScenarioParser(std::string fileName, fs::path folder)
    : m_fileName(std::move(fileName))
    , m_folder(std::move(folder))
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
    if (verdict.error) {
        // A boot line with a slip in it still stands for the boot, so the lines after it are not
        // all reported as needing one.
        if (verdict.kind == CommandKind::Boot)
            m_booted = true;
        throw ParseError(m_fileName, lineNumber, *verdict.error);
    }

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
    line.fileName = m_fileName;
    line.folder = m_folder;
    while (!line.text.empty() && (line.text.back() == '\r' || line.text.back() == '\n'))
        line.text.pop_back();
    return line;
}

std::vector<ScenarioLine> ScenarioParser::included(const ScenarioLine& includeLine)
{
    fs::path named = includeLine.command.argument(0);
    fs::path path = named.is_absolute() ? named : includeLine.folder / named;
    // Messages name the file as a reader of the including file would find it.
    std::string fileName = named.is_absolute() ? named.string() : (fs::path(includeLine.fileName).parent_path() / named).lexically_normal().string();
    auto fail = [&](const std::string& reason) { return ParseError(includeLine.fileName, includeLine.lineNumber, reason); };

    std::error_code error;
    fs::path canonical = fs::weakly_canonical(path, error);
    if (error)
        canonical = fs::absolute(path).lexically_normal();
    if (std::find(m_reading.begin(), m_reading.end(), canonical) != m_reading.end())
        throw fail("include cycle: " + fileName + " is already being played");
    std::string text;
    try {
        text = readFile(path, fileName);
    } catch (const ParseError& unreadable) {
        throw fail("cannot include " + fileName + ": " + unreadable.reason());
    }

    // The included file is read with its own name and folder, on top of this parser's state.
    auto outerName = std::exchange(m_fileName, fileName);
    auto outerFolder = std::exchange(m_folder, fs::absolute(path).parent_path());
    m_reading.push_back(canonical);
    std::vector<ScenarioLine> lines;
    std::vector<ParseError> errors;
    parseInto(text, lines, errors);
    m_reading.pop_back();
    m_fileName = std::move(outerName);
    m_folder = std::move(outerFolder);
    if (!errors.empty())
        throw ParseError::gather(std::move(errors));
    return lines;
}

void ScenarioParser::parseInto(std::string_view text, std::vector<ScenarioLine>& lines, std::vector<ParseError>& errors)
{
    size_t lineNumber = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        ++lineNumber;
        std::string_view line = text.substr(start, end - start);
        try {
            if (line.find('\0') != std::string_view::npos)
                throw ParseError(m_fileName, lineNumber, "NUL character in the line");
            if (auto parsed = parseLine(line, lineNumber)) {
                if (parsed->kind == CommandKind::Include) {
                    auto more = included(*parsed);
                    lines.insert(lines.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
                } else {
                    lines.push_back(std::move(*parsed));
                }
            }
        } catch (const ParseError& error) {
            errors.push_back(error);
        }
        if (end == text.size())
            break;
        start = end + 1;
    }
}

Scenario ScenarioParser::parseText(std::string_view text, std::string fileName, fs::path folder)
{
    Scenario scenario;
    scenario.fileName = fileName;
    scenario.folder = folder;
    ScenarioParser parser(std::move(fileName), std::move(folder));
    std::vector<ParseError> errors;
    parser.parseInto(text, scenario.lines, errors);
    if (!errors.empty())
        throw ParseError::gather(std::move(errors));
    return scenario;
}

std::string ScenarioParser::readFile(const fs::path& path, const std::string& fileName)
{
    std::error_code error;
    auto status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        throw ParseError(fileName, 0, "no such scenario file");
    if (status.type() == fs::file_type::directory)
        throw ParseError(fileName, 0, "is a folder, not a scenario file (give its files: " + (fs::path(fileName) / "*.scn").string() + ")");
    // Anything else that reads as text will do: a file, /dev/null (an empty scenario), a pipe.
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ParseError(fileName, 0, std::string("cannot read the file: ") + std::strerror(errno));
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

Scenario ScenarioParser::parseFile(const fs::path& path)
{
    std::string text = readFile(path, path.string());
    Scenario scenario;
    scenario.fileName = path.string();
    scenario.folder = fs::absolute(path).parent_path();
    ScenarioParser parser(scenario.fileName, scenario.folder);
    std::error_code error;
    fs::path canonical = fs::weakly_canonical(path, error);
    parser.m_reading.push_back(error ? fs::absolute(path).lexically_normal() : canonical);
    std::vector<ParseError> errors;
    parser.parseInto(text, scenario.lines, errors);
    if (!errors.empty())
        throw ParseError::gather(std::move(errors));
    return scenario;
}

}
