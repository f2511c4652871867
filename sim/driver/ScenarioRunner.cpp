#include "ScenarioRunner.h"

#include "EmergencyStop.h"
#include "ScenarioFiles.h"
#include "ScenarioParser.h"
#include "Session.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <ostream>

namespace sim::driver {

namespace fs = std::filesystem;

ScenarioRunner::ScenarioRunner(Options options, std::ostream& out, std::ostream& err)
    : m_options(std::move(options))
    , m_out(out)
    , m_err(err)
{
}

int ScenarioRunner::run(const std::vector<fs::path>& arguments)
{
    auto expanded = ScenarioFiles::expand(arguments, m_options.recursive);
    for (const auto& error : expanded.errors)
        m_err << error << "\n";
    const auto& files = expanded.files;
    auto names = ScenarioFiles::runNames(files);

    std::vector<Scenario> scenarios;
    std::vector<ScenarioResult> results(files.size());
    bool malformed = !expanded.errors.empty();
    for (size_t i = 0; i < files.size(); ++i) {
        results[i].fileName = files[i].string();
        results[i].name = names[i];
        try {
            scenarios.push_back(ScenarioParser::parseFile(files[i]));
        } catch (const ParseError& error) {
            for (const auto& each : error.all()) {
                m_err << each.what() << "\n";
                results[i].problems.push_back({ ScenarioProblem::Kind::Malformed, each.file(), each.line(), {}, each.reason() });
            }
            malformed = true;
        }
    }
    if (malformed) {
        writeReport(results);
        return 2;
    }

    size_t passed = 0;
    size_t failed = 0;
    int status = 0;
    for (size_t i = 0; i < scenarios.size(); ++i) {
        // One file writes into the folders given; several each into a folder of their own name.
        auto folderFor = [&](const fs::path& folder) { return scenarios.size() == 1 ? folder : folder / names[i]; };
        fs::path deviceFolder = m_options.keepFolder ? folderFor(*m_options.keepFolder) : fs::path();
        auto started = std::chrono::steady_clock::now();
        play(scenarios[i], deviceFolder, folderFor(m_options.outFolder), results[i]);
        results[i].seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        bool ok = results[i].passed();
        (ok ? passed : failed) += 1;
        m_out << (ok ? "PASS " : "FAIL ") << scenarios[i].fileName << "\n";
        if (EmergencyStop::interruptSignal()) {
            status = 128 + EmergencyStop::interruptSignal();
            break;
        }
    }
    if (!writeReport(results) && status == 0)
        status = 1;
    if (status)
        return status;
    m_out << "torvane-sim: " << passed << " scenario(s) passed, " << failed << " failed\n";
    return failed ? 1 : 0;
}

bool ScenarioRunner::writeReport(const std::vector<ScenarioResult>& results)
{
    if (!m_options.junitFile)
        return true;
    if (JUnitReport::write(*m_options.junitFile, results))
        return true;
    m_err << "torvane-sim: cannot write " << m_options.junitFile->string() << ": " << std::strerror(errno) << "\n";
    return false;
}

namespace {

// With TORVANE_COMMAND_TIMES naming a file, every command played appends "FILE:LINE SECONDS
// COMMAND" (tab-separated) to it: where a scenario's time goes, for the benchmark scripts.
class CommandTimes {
public:
    CommandTimes()
    {
        if (const char* path = std::getenv("TORVANE_COMMAND_TIMES"); path && *path)
            m_out.open(path, std::ios::app);
    }
    void add(const std::string& file, size_t line, std::chrono::steady_clock::duration spent, const std::string& command)
    {
        if (m_out.is_open())
            m_out << file << ':' << line << '\t' << std::chrono::duration<double>(spent).count() << '\t' << command << '\n';
    }

private:
    std::ofstream m_out;
};

}

void ScenarioRunner::play(const Scenario& scenario, const fs::path& deviceFolder, const fs::path& outFolder, ScenarioResult& result)
{
    SessionOptions options;
    options.layout = m_options.layout;
    options.ownership = deviceFolder.empty() ? Device::Ownership::Fresh : Device::Ownership::KeepFresh;
    options.deviceFolder = deviceFolder;
    options.outFolder = outFolder;
    options.sourceFolder = scenario.folder;
    options.warn = [this, &scenario](const std::string& warning) { m_err << scenario.fileName << ": " << warning << "\n"; };
    if (m_options.adjust)
        m_options.adjust(options);

    result.played = true;
    CommandTimes times;
    try {
        Session session(options);
        for (const auto& line : scenario.lines) {
            auto started = std::chrono::steady_clock::now();
            Answer answer = session.execute(line);
            const std::string& file = line.fileName.empty() ? scenario.fileName : line.fileName;
            times.add(file, line.lineNumber, std::chrono::steady_clock::now() - started, line.command.line());
            auto where = file + ":" + std::to_string(line.lineNumber) + ": ";
            if (answer.status == Answer::Status::ExpectFailed) {
                m_err << where << line.command.line() << "\n    " << answer.message << "\n";
                result.problems.push_back({ ScenarioProblem::Kind::Expect, file, line.lineNumber, line.command.line(), answer.message });
            } else if (answer.status == Answer::Status::Error) {
                m_err << where << line.command.line() << "\n    error: " << answer.message << "\n";
                result.problems.push_back({ ScenarioProblem::Kind::Error, file, line.lineNumber, line.command.line(), answer.message });
                return;
            } else if (line.kind == CommandKind::Dump && !answer.value.is_null()) {
                // A dump without a file shows on standard output, as the shell shows it.
                m_out << answer.text() << std::endl;
            }
        }
    } catch (const std::exception& error) {
        m_err << scenario.fileName << ": " << error.what() << "\n";
        result.problems.push_back({ ScenarioProblem::Kind::Error, scenario.fileName, 0, {}, error.what() });
    }
}

}
