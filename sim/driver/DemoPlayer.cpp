#include "DemoPlayer.h"

#include "DeviceLog.h"
#include "EmergencyStop.h"
#include "ScenarioParser.h"
#include "Session.h"
#include "TourPage.h"

#include <sim/demo/Tour.h>

#include <fstream>
#include <ostream>

namespace sim::driver {

namespace fs = std::filesystem;

namespace {

// Screenshots end the page's steps and dumps are linked from them; every other command is what the
// user did.
void recordOnPage(TourPage& page, Session& session, const ScenarioLine& line, const Answer& answer)
{
    const auto& command = line.command;
    if (session.isBooted())
        page.addLogLines(DeviceLog(session.device().hostPath("/var/log")).lines());
    if (!answer.isOk()) {
        page.addCommand(command.line() + "   (" + answer.text() + ")");
        return;
    }
    if (command.name() == "screenshot" && command.argumentCount() >= 2)
        page.addScreenshot(fs::path(command.argument(1)).filename().string());
    else if (command.name() == "dump" && command.argumentCount() >= 2)
        page.addDump(fs::path(command.argument(1)).filename().string());
    else
        page.addCommand(command.line());
}

}

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
    TourPage page(demo::tourCaptions());
    try {
        Session session(options);
        for (const auto& line : tour.lines) {
            Answer answer = session.execute(line);
            transcript << "> " << line.command.line() << "\n" << answer.text() << "\n\n" << std::flush;
            recordOnPage(page, session, line, answer);
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
    if (!page.write(m_options.outFolder / "index.html")) {
        m_err << "cannot write " << (m_options.outFolder / "index.html").string() << "\n";
        return 1;
    }
    m_out << "demo written to " << fs::absolute(m_options.outFolder).string() << " (open index.html)\n";
    return status;
}

}
