#include "ScenarioRunner.h"

#include "EmergencyStop.h"
#include "ScenarioParser.h"
#include "Session.h"

#include <ostream>

namespace sim::driver {

namespace fs = std::filesystem;

ScenarioRunner::ScenarioRunner(Options options, std::ostream& out, std::ostream& err)
    : m_options(std::move(options))
    , m_out(out)
    , m_err(err)
{
}

int ScenarioRunner::run(const std::vector<fs::path>& files)
{
    std::vector<Scenario> scenarios;
    bool malformed = false;
    for (const auto& file : files) {
        try {
            scenarios.push_back(ScenarioParser::parseFile(file));
        } catch (const ParseError& error) {
            m_err << error.what() << "\n";
            malformed = true;
        }
    }
    if (malformed)
        return 2;

    size_t passed = 0;
    size_t failed = 0;
    for (const auto& scenario : scenarios) {
        fs::path deviceFolder;
        if (m_options.keepFolder)
            deviceFolder = scenarios.size() == 1 ? *m_options.keepFolder : *m_options.keepFolder / fs::path(scenario.fileName).stem();
        bool ok = play(scenario, deviceFolder);
        (ok ? passed : failed) += 1;
        m_out << (ok ? "PASS " : "FAIL ") << scenario.fileName << "\n";
        if (EmergencyStop::interruptSignal())
            return 128 + EmergencyStop::interruptSignal();
    }
    m_out << "torvane-sim: " << passed << " scenario(s) passed, " << failed << " failed\n";
    return failed ? 1 : 0;
}

bool ScenarioRunner::play(const Scenario& scenario, const fs::path& deviceFolder)
{
    SessionOptions options;
    options.layout = m_options.layout;
    options.ownership = deviceFolder.empty() ? Device::Ownership::Fresh : Device::Ownership::KeepFresh;
    options.deviceFolder = deviceFolder;
    options.outFolder = m_options.outFolder;
    options.sourceFolder = scenario.folder;
    options.warn = [this, &scenario](const std::string& warning) { m_err << scenario.fileName << ": " << warning << "\n"; };
    if (m_options.adjust)
        m_options.adjust(options);

    bool ok = true;
    try {
        Session session(options);
        for (const auto& line : scenario.lines) {
            Answer answer = session.execute(line);
            auto where = scenario.fileName + ":" + std::to_string(line.lineNumber) + ": ";
            if (answer.status == Answer::Status::ExpectFailed) {
                m_err << where << line.command.line() << "\n    " << answer.message << "\n";
                ok = false;
            } else if (answer.status == Answer::Status::Error) {
                m_err << where << line.command.line() << "\n    error: " << answer.message << "\n";
                return false;
            }
        }
    } catch (const std::exception& error) {
        m_err << scenario.fileName << ": " << error.what() << "\n";
        return false;
    }
    return ok;
}

}
