#include "DemoPlayer.h"

#include "EmergencyStop.h"
#include "ScenarioParser.h"
#include "Session.h"

#include <fstream>
#include <ostream>

namespace sim::driver {

namespace fs = std::filesystem;

DemoPlayer::DemoPlayer(Options options, std::ostream& out, std::ostream& err)
    : m_options(std::move(options))
    , m_out(out)
    , m_err(err)
{
}

int DemoPlayer::play(std::string_view script)
{
    Scenario tour;
    try {
        tour = ScenarioParser::parseText(script, "tour", fs::current_path());
    } catch (const ParseError& error) {
        m_err << error.what() << "\n";
        return 2;
    }

    std::error_code error;
    fs::create_directories(m_options.outFolder, error);
    auto transcriptPath = m_options.outFolder / "transcript.txt";
    std::ofstream transcript(transcriptPath, std::ios::trunc);
    if (!transcript) {
        m_err << "cannot write " << transcriptPath.string() << "\n";
        return 1;
    }

    SessionOptions options;
    options.layout = m_options.layout;
    options.outFolder = m_options.outFolder;
    options.sourceFolder = fs::current_path();
    options.warn = [&](const std::string& warning) {
        m_err << warning << "\n";
        transcript << "# " << warning << "\n";
    };
    if (m_options.adjust)
        m_options.adjust(options);

    int status = 0;
    try {
        Session session(options);
        for (const auto& line : tour.lines) {
            Answer answer = session.execute(line);
            transcript << "> " << line.command.line() << "\n" << answer.text() << "\n\n" << std::flush;
            m_out << "> " << line.command.line() << "\n";
            if (!answer.isOk()) {
                m_err << "tour:" << line.lineNumber << ": " << answer.text() << "\n";
                status = 1;
                if (line.kind == CommandKind::Boot)
                    break;
            }
            if (EmergencyStop::interruptSignal())
                return 128 + EmergencyStop::interruptSignal();
        }
    } catch (const std::exception& failure) {
        m_err << "error: " << failure.what() << "\n";
        transcript << "error: " << failure.what() << "\n";
        return 1;
    }
    m_out << "demo written to " << fs::absolute(m_options.outFolder).string() << "\n";
    return status;
}

}
