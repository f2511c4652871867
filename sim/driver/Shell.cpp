#include "Shell.h"

#include "EmergencyStop.h"
#include "LineEditor.h"
#include "ScenarioParser.h"
#include "Session.h"

#include <sim/protocol/CommandTable.h>

#include <iostream>
#include <memory>
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
        ScenarioParser parser("<stdin>", options.sourceFolder);
        std::unique_ptr<LineEditor> editor;
        if (interactive)
            editor = std::make_unique<LineEditor>(LineEditor::defaultHistoryFile());
        std::string text;
        size_t lineNumber = 0;
        auto play = [&](const ScenarioLine& line) {
            Answer answer = session.execute(line);
            m_out << answer.text() << std::endl;
            if (!answer.isOk())
                status = 1;
            if (line.kind == CommandKind::Boot && !answer.isOk())
                parser.setBooted(false);
            return answer.status != Answer::Status::Error;
        };
        for (;;) {
            if (editor) {
                auto read = editor->read("> ", text);
                if (read == LineEditor::Status::End)
                    break;
                if (read == LineEditor::Status::Abandoned)
                    continue;
            } else if (!std::getline(m_in, text)) {
                break;
            }
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
                if (line->kind != CommandKind::Include) {
                    play(*line);
                } else {
                    // The file's lines play one by one, each answered; a command that could not
                    // be carried out ends the file.
                    for (const auto& included : parser.included(*line)) {
                        m_out << included.fileName << ":" << included.lineNumber << ": " << included.text << "\n";
                        if (!play(included) || EmergencyStop::interruptSignal())
                            break;
                    }
                }
            } catch (const ParseError& error) {
                for (const auto& each : error.all())
                    m_out << "error: " << (each.file() == "<stdin>" ? each.reason() : std::string(each.what())) << std::endl;
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
