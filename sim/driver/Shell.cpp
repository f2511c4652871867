#include "Shell.h"

#include "EmergencyStop.h"
#include "ScenarioParser.h"
#include "Session.h"

#include <sim/protocol/CommandTable.h>

#include <iostream>
#include <ostream>
#include <unistd.h>

namespace sim::driver {

namespace fs = std::filesystem;

Shell::Shell(Options options, std::istream& in, std::ostream& out, std::ostream& err)
    : m_options(std::move(options))
    , m_in(in)
    , m_out(out)
    , m_err(err)
{
}

int Shell::run()
{
    SessionOptions options;
    options.layout = m_options.layout;
    if (m_options.deviceFolder) {
        options.ownership = Device::Ownership::UseAsIs;
        options.deviceFolder = *m_options.deviceFolder;
    }
    options.outFolder = fs::current_path();
    options.sourceFolder = fs::current_path();
    options.warn = [this](const std::string& warning) { m_err << warning << "\n"; };
    if (m_options.adjust)
        m_options.adjust(options);

    bool interactive = &m_in == &std::cin && ::isatty(0);
    int status = 0;
    try {
        Session session(options);
        m_err << "device at " << session.device().root().string() << "\n";
        ScenarioParser parser("<stdin>");
        std::string text;
        size_t lineNumber = 0;
        for (;;) {
            if (interactive)
                m_out << "> " << std::flush;
            if (!std::getline(m_in, text))
                break;
            ++lineNumber;
            if (text == "exit")
                break;
            if (text == "help") {
                m_out << protocol::CommandTable::helpText() << "  exit                                  end the shell (so does end of input)\n" << std::flush;
                continue;
            }
            try {
                auto line = parser.parseLine(text, lineNumber);
                if (!line)
                    continue;
                Answer answer = session.execute(*line);
                m_out << answer.text() << std::endl;
                if (!answer.isOk())
                    status = 1;
                if (line->kind == CommandKind::Boot && !answer.isOk())
                    parser.setBooted(false);
            } catch (const ParseError& error) {
                m_out << "error: " << error.reason() << std::endl;
                status = 1;
            }
            if (EmergencyStop::interruptSignal())
                return 128 + EmergencyStop::interruptSignal();
        }
    } catch (const std::exception& error) {
        m_err << "error: " << error.what() << "\n";
        return 1;
    }
    // An interrupt ends the read above; the session is gone by now, its processes stopped.
    if (EmergencyStop::interruptSignal())
        return 128 + EmergencyStop::interruptSignal();
    return status;
}

}
