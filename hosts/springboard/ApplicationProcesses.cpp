#include "ApplicationProcesses.h"

#include <foundation/RunLoop.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace springboard::host {

namespace {

int g_signalPipe[2] = { -1, -1 };

void onChildSignal(int)
{
    int savedErrno = errno;
    char byte = 1;
    ssize_t ignored = ::write(g_signalPipe[1], &byte, 1);
    (void)ignored;
    errno = savedErrno;
}

std::string defaultExecutable()
{
    std::error_code error;
    auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return "sim-app";
    return (self.parent_path() / "sim-app").string();
}

}

ApplicationProcesses& ApplicationProcesses::shared()
{
    static ApplicationProcesses* processes = new ApplicationProcesses;
    return *processes;
}

ApplicationProcesses::ApplicationProcesses()
    : m_executable(defaultExecutable())
    , m_exitHandler([](pid_t pid, int) {
        if (auto* controller = SBApplicationController::sharedInstance())
            controller->processDidExit(pid);
    })
{
    SBApplicationController::setProcessLauncher(this);
}

void ApplicationProcesses::watchSignals()
{
    if (g_signalPipe[0] >= 0)
        return;
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onChildSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_NOCLDSTOP;
    ::sigaction(SIGCHLD, &action, nullptr);
    m_signalSource = foundation::RunLoop::main().addSource(g_signalPipe[0], [this] {
        char buffer[64];
        while (::read(g_signalPipe[0], buffer, sizeof buffer) > 0) { }
        reapExited();
    });
}

std::optional<pid_t> ApplicationProcesses::spawn(const std::string& bundleIdentifier, double megabytes, std::string* error)
{
    watchSignals();
    if (::access(m_executable.c_str(), X_OK) != 0) {
        if (error)
            *error = "no application executable at " + m_executable;
        return std::nullopt;
    }
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0) {
        if (error)
            *error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return std::nullopt;
    }
    // Everything the child needs is prepared before fork: after it only async-signal-safe calls.
    std::string megabytesText = std::to_string(megabytes);
    std::string readyVariable = "SIM_APP_READY_FD=" + std::to_string(ready[1]);
    std::vector<std::string> environment;
    for (char** entry = environ; entry && *entry; ++entry) {
        if (std::strncmp(*entry, "SIM_APP_READY_FD=", 17) != 0)
            environment.emplace_back(*entry);
    }
    environment.push_back(readyVariable);
    std::vector<char*> envp;
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<char*> argv { m_executable.data(), const_cast<char*>(bundleIdentifier.c_str()), megabytesText.data(), nullptr };
    pid_t parent = ::getpid();

    pid_t pid = ::fork();
    if (pid < 0) {
        int savedErrno = errno;
        ::close(ready[0]);
        ::close(ready[1]);
        if (error)
            *error = std::string("cannot fork: ") + std::strerror(savedErrno);
        return std::nullopt;
    }
    if (pid == 0) {
        // Each application is a process group of its own, as on the device: a signal meant for
        // SpringBoard's group never reaches it, and it is ended by its own pid.
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
        // The write end must survive exec; it was opened close-on-exec.
        ::fcntl(ready[1], F_SETFD, 0);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    // Both sides set the group, so it holds before either goes on (after exec this fails, harmlessly).
    ::setpgid(pid, pid);
    ::close(ready[1]);

    Child child;
    child.bundleIdentifier = bundleIdentifier;
    child.readyFd = ready[0];
    auto [it, inserted] = m_children.insert_or_assign(pid, std::move(child));
    it->second.readySource = foundation::RunLoop::main().addSource(ready[0], [this, pid] { readReady(pid); });
    return pid;
}

void ApplicationProcesses::readReady(pid_t pid)
{
    auto it = m_children.find(pid);
    if (it == m_children.end() || it->second.readyFd < 0)
        return;
    char buffer[16];
    ssize_t count = ::read(it->second.readyFd, buffer, sizeof buffer);
    if (count < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    // "ready", end of file (the child exited or failed to start) or an error: no longer starting.
    ::close(it->second.readyFd);
    it->second.readyFd = -1;
    // Removing the source from inside its own handler is allowed; the token goes last.
    auto token = std::move(it->second.readySource);
}

bool ApplicationProcesses::signalToEnd(pid_t pid, int signal)
{
    auto it = m_children.find(pid);
    if (it == m_children.end() || ::kill(pid, signal) != 0)
        return false;
    it->second.ending = true;
    return true;
}

void ApplicationProcesses::terminate(pid_t pid)
{
    signalToEnd(pid, SIGTERM);
}

bool ApplicationProcesses::kill(pid_t pid)
{
    return signalToEnd(pid, SIGKILL);
}

void ApplicationProcesses::requestQuit(pid_t pid)
{
    signalToEnd(pid, SIGUSR1);
}

bool ApplicationProcesses::isSettled() const
{
    for (auto& [pid, child] : m_children) {
        if (child.readyFd >= 0 || child.ending)
            return false;
    }
    return true;
}

void ApplicationProcesses::reapExited()
{
    std::vector<std::pair<pid_t, int>> exited;
    for (auto it = m_children.begin(); it != m_children.end();) {
        int status = 0;
        pid_t result = ::waitpid(it->first, &status, WNOHANG);
        if (result == it->first || (result < 0 && errno == ECHILD)) {
            if (it->second.readyFd >= 0)
                ::close(it->second.readyFd);
            exited.emplace_back(it->first, status);
            it = m_children.erase(it);
        } else {
            ++it;
        }
    }
    for (auto [pid, status] : exited) {
        if (m_exitHandler)
            m_exitHandler(pid, status);
    }
}

void ApplicationProcesses::killAll()
{
    for (auto& [pid, child] : m_children)
        ::kill(pid, SIGKILL);
    for (auto& [pid, child] : m_children) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
        if (child.readyFd >= 0)
            ::close(child.readyFd);
    }
    m_children.clear();
}

}
