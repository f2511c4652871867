#include "LineEditor.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <readline/history.h>
#include <readline/readline.h>

namespace sim::driver {

namespace {

int interruptPipe[2] = { -1, -1 };
struct sigaction previousInterrupt {};

void onInterrupt(int)
{
    int saved = errno;
    char byte = 1;
    [[maybe_unused]] auto written = ::write(interruptPipe[1], &byte, 1);
    errno = saved;
}

// readline's callback interface hands a finished line here (nullptr at end of input).
struct Pending {
    bool done { false };
    bool end { false };
    std::string line;
} pending;

void takeLine(char* text)
{
    pending.done = true;
    pending.end = text == nullptr;
    if (text) {
        pending.line = text;
        std::free(text);
    }
    rl_callback_handler_remove();
}

void drainInterrupts()
{
    char buffer[64];
    while (::read(interruptPipe[0], buffer, sizeof(buffer)) > 0) {
    }
}

}

LineEditor::LineEditor(std::optional<std::filesystem::path> historyFile)
{
    if (::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        interruptPipe[0] = interruptPipe[1] = -1;
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    action.sa_handler = onInterrupt;
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &previousInterrupt);

    rl_catch_signals = 0;
    rl_catch_sigwinch = 1;
    rl_readline_name = "torvane-sim";
    using_history();
    stifle_history(1000);
    m_historyFile = std::move(historyFile);
    if (m_historyFile)
        ::read_history(m_historyFile->c_str());
}

LineEditor::~LineEditor()
{
    if (m_historyFile)
        ::write_history(m_historyFile->c_str());
    ::sigaction(SIGINT, &previousInterrupt, nullptr);
    for (int& fd : interruptPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

LineEditor::Status LineEditor::read(const std::string& prompt, std::string& line)
{
    // A Ctrl-C that came while a command ran is spent: the new line starts clean.
    drainInterrupts();
    pending = {};
    rl_callback_handler_install(prompt.c_str(), takeLine);
    while (!pending.done) {
        pollfd fds[2] = { { STDIN_FILENO, POLLIN, 0 }, { interruptPipe[0], POLLIN, 0 } };
        int ready = ::poll(fds, interruptPipe[0] >= 0 ? 2 : 1, -1);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            rl_callback_handler_remove();
            return Status::End;
        }
        if (fds[1].revents & POLLIN) {
            drainInterrupts();
            // Abandon what was typed; the caller shows a fresh prompt.
            rl_free_line_state();
            rl_replace_line("", 0);
            rl_callback_handler_remove();
            std::fputs("^C\n", rl_outstream ? rl_outstream : stdout);
            std::fflush(rl_outstream ? rl_outstream : stdout);
            return Status::Abandoned;
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR))
            rl_callback_read_char();
    }
    if (pending.end) {
        std::fputs("\n", rl_outstream ? rl_outstream : stdout);
        return Status::End;
    }
    line = pending.line;
    if (!line.empty())
        add_history(line.c_str());
    return Status::Line;
}

std::optional<std::filesystem::path> LineEditor::defaultHistoryFile()
{
    const char* home = std::getenv("HOME");
    if (!home || !*home)
        return std::nullopt;
    return std::filesystem::path(home) / ".torvane-sim_history";
}

}
