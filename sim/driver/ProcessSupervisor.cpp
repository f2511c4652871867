#include "ProcessSupervisor.h"

#include "EmergencyStop.h"
#include "ProcessTable.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace sim::driver {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string describe(int status)
{
    if (WIFEXITED(status))
        return "exited with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return std::string("killed by signal ") + std::to_string(WTERMSIG(status)) + " (" + strsignal(WTERMSIG(status)) + ")";
    return "ended";
}

}

ProcessSupervisor::ProcessSupervisor(std::map<std::string, std::string> environment)
    : m_environment(std::move(environment))
{
    // Orphans of our children (applications whose host died) come to us, not to init, so they
    // can be reaped and checked for.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
}

ProcessSupervisor::~ProcessSupervisor()
{
    stopAll();
}

pid_t ProcessSupervisor::start(const Program& program)
{
    std::error_code error;
    if (!fs::is_regular_file(program.executable, error) || ::access(program.executable.c_str(), X_OK) != 0)
        throw std::runtime_error(program.name + " is not built (no executable at " + program.executable.string() + ")");
    if (find(program.name) && find(program.name)->running)
        throw std::runtime_error(program.name + " is already running");

    // Everything the child needs is prepared before fork: after it, only async-signal-safe calls.
    std::map<std::string, std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        auto equals = text.find('=');
        if (equals != std::string::npos)
            environment[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [key, value] : m_environment)
        environment[key] = value;
    std::vector<std::string> environmentText;
    for (const auto& [key, value] : environment)
        environmentText.push_back(key + "=" + value);
    std::vector<char*> envp;
    for (auto& text : environmentText)
        envp.push_back(text.data());
    envp.push_back(nullptr);

    std::vector<std::string> argumentText { program.executable.string() };
    argumentText.insert(argumentText.end(), program.arguments.begin(), program.arguments.end());
    std::vector<char*> argv;
    for (auto& text : argumentText)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    int capture = ::open(program.captureFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (capture < 0)
        throw std::runtime_error("cannot open " + program.captureFile.string() + ": " + std::strerror(errno));
    int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);

    pid_t parent = ::getpid();
    pid_t pid = ::fork();
    if (pid < 0) {
        int saved = errno;
        ::close(capture);
        ::close(nothing);
        throw std::runtime_error("cannot start " + program.name + ": " + std::strerror(saved));
    }
    if (pid == 0) {
        // A session of its own, which is also a process group of its own: the applications a host
        // starts make groups of their own but stay in its session, even as zombies, so they can be
        // told from the driver's other children once the host is gone.
        ::setsid();
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        if (nothing >= 0)
            ::dup2(nothing, 0);
        ::dup2(capture, 1);
        ::dup2(capture, 2);
        // Dispositions set to "ignore" and blocked signals survive exec; hosts start clean.
        sigset_t all;
        sigfillset(&all);
        sigprocmask(SIG_UNBLOCK, &all, nullptr);
        for (int signal : { SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGCHLD })
            ::signal(signal, SIG_DFL);
        ::execve(argv[0], argv.data(), envp.data());
        const char message[] = "torvane-sim: exec failed\n";
        ssize_t ignored = ::write(2, message, sizeof(message) - 1);
        (void)ignored;
        ::_exit(127);
    }
    // The parent cannot set the group for the child here: a group leader may not call setsid().
    // Until the child has, signals to its group miss it; stopAll() therefore also signals the pid.
    EmergencyStop::add(pid);
    ::close(capture);
    if (nothing >= 0)
        ::close(nothing);

    Child child;
    child.name = program.name;
    child.pid = pid;
    child.captureFile = program.captureFile;
    m_children.push_back(std::move(child));
    return pid;
}

ProcessSupervisor::Child* ProcessSupervisor::find(const std::string& name)
{
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) {
        if (it->name == name)
            return &*it;
    }
    return nullptr;
}

const ProcessSupervisor::Child* ProcessSupervisor::find(const std::string& name) const
{
    return const_cast<ProcessSupervisor*>(this)->find(name);
}

void ProcessSupervisor::reap(Child& child, bool block)
{
    if (!child.running)
        return;
    int status = 0;
    pid_t result;
    do {
        result = ::waitpid(child.pid, &status, block ? 0 : WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result == child.pid || (result < 0 && errno == ECHILD)) {
        child.running = false;
        child.status = status;
    }
}

bool ProcessSupervisor::isRunning(const std::string& name)
{
    Child* child = find(name);
    if (!child)
        return false;
    reap(*child, false);
    return child->running;
}

std::string ProcessSupervisor::exitDescription(const std::string& name) const
{
    const Child* child = find(name);
    if (!child)
        return "was never started";
    if (child->running)
        return "is running";
    return describe(child->status);
}

std::string ProcessSupervisor::captureTail(const std::string& name, size_t lines) const
{
    const Child* child = find(name);
    if (!child)
        return {};
    std::ifstream in(child->captureFile);
    std::deque<std::string> tail;
    std::string line;
    while (std::getline(in, line)) {
        tail.push_back(line);
        if (tail.size() > lines)
            tail.pop_front();
    }
    std::string text;
    for (const auto& kept : tail)
        text += "    " + kept + "\n";
    return text;
}

void ProcessSupervisor::waitUntilReady(const std::string& name, const std::function<bool()>& ready, std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (ready())
            return;
        if (EmergencyStop::interruptSignal())
            throw std::runtime_error("interrupted while " + name + " was starting");
        if (!isRunning(name)) {
            std::string tail = captureTail(name);
            throw std::runtime_error(name + " " + exitDescription(name) + " before it was ready" + (tail.empty() ? std::string(" (it printed nothing)") : "; its last output:\n" + tail));
        }
        if (std::chrono::steady_clock::now() > deadline) {
            std::string tail = captureTail(name);
            throw std::runtime_error(name + " did not become ready within " + std::to_string(timeout.count() / 1000.0) + " s" + (tail.empty() ? std::string() : "; its last output:\n" + tail));
        }
        // A host is ready a few milliseconds after it starts, and a boot waits for three in turn.
        std::this_thread::sleep_for(1ms);
    }
}

void ProcessSupervisor::stopAll(std::chrono::milliseconds grace)
{
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) {
        reap(*it, false);
        if (it->running && ::kill(-it->pid, SIGTERM) != 0)
            ::kill(it->pid, SIGTERM);
    }
    auto deadline = std::chrono::steady_clock::now() + grace;
    for (;;) {
        bool anyRunning = false;
        for (auto& child : m_children) {
            reap(child, false);
            anyRunning = anyRunning || child.running;
        }
        if (!anyRunning || std::chrono::steady_clock::now() > deadline)
            break;
        std::this_thread::sleep_for(2ms);
    }
    // Whatever is left, and everything still in a host's group, goes now (applications in groups
    // of their own die with their host, or are found among the orphans below).
    for (auto& child : m_children) {
        ::kill(-child.pid, SIGKILL);
        if (child.running)
            ::kill(child.pid, SIGKILL);
    }
    for (auto& child : m_children)
        reap(child, true);
    reapAdoptedOrphans();
    for (auto& child : m_children)
        EmergencyStop::remove(child.pid);
}

void ProcessSupervisor::stop(const std::string& name, std::chrono::milliseconds grace)
{
    Child* child = find(name);
    if (!child)
        return;
    reap(*child, false);
    if (child->running && ::kill(-child->pid, SIGTERM) != 0)
        ::kill(child->pid, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + grace;
    while (child->running && std::chrono::steady_clock::now() <= deadline) {
        std::this_thread::sleep_for(2ms);
        reap(*child, false);
    }
    ::kill(-child->pid, SIGKILL);
    if (child->running)
        ::kill(child->pid, SIGKILL);
    reap(*child, true);
    reapAdoptedOrphans({ child->pid });
    EmergencyStop::remove(child->pid);
}

void ProcessSupervisor::reapAdoptedOrphans()
{
    std::set<pid_t> hosts;
    for (const auto& child : m_children)
        hosts.insert(child.pid);
    reapAdoptedOrphans(hosts);
}

void ProcessSupervisor::reapAdoptedOrphans(const std::set<pid_t>& hosts)
{
    // A host leads its own session and group, and everything it started stays in the session.
    if (hosts.empty())
        return;
    // The processes this supervisor started itself are never orphans, however they are grouped.
    std::set<pid_t> started;
    for (const auto& child : m_children) {
        if (child.running)
            started.insert(child.pid);
    }
    pid_t self = ::getpid();
    // Orphans were SIGKILLed with their group; they may take a moment to become zombies.
    auto deadline = std::chrono::steady_clock::now() + 2s;
    for (;;) {
        std::vector<pid_t> orphans;
        for (const auto& process : ProcessTable::all()) {
            if (!started.count(process.pid) && process.parent == self && (hosts.count(process.session) || hosts.count(process.group)))
                orphans.push_back(process.pid);
        }
        if (orphans.empty())
            return;
        for (pid_t pid : orphans) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, WNOHANG);
        }
        if (std::chrono::steady_clock::now() > deadline)
            return;
        std::this_thread::sleep_for(1ms);
    }
}

std::vector<pid_t> ProcessSupervisor::startedPids() const
{
    std::vector<pid_t> pids;
    for (const auto& child : m_children)
        pids.push_back(child.pid);
    return pids;
}

}
