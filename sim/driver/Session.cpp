#include "Session.h"

#include "CommandRules.h"

#include <sim/protocol/CommandChecker.h>
#include "DeviceLog.h"
#include "EmergencyStop.h"
#include "Expectation.h"
#include "JsonPointer.h"
#include "OutputFile.h"
#include "PropertyListJson.h"
#include "WaitCondition.h"

#include <sim/protocol/ControlError.h>
#include <sim/protocol/ControlChannel.h>
#include <support/UnixSocket.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <unistd.h>

namespace sim::driver {

namespace fs = std::filesystem;
using protocol::Command;

namespace {

constexpr const char* brokerSocketPath = "/var/run/notifyd.sock";

std::string formatSeconds(double seconds)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.9g", seconds);
    return text;
}

}

std::vector<ProcessRole> ProcessRole::standard(const BuildLayout& layout)
{
    return {
        { "notifyd", ProcessRole::Kind::Broker, layout.executable("notifyd"), {} },
        { "springboard", ProcessRole::Kind::Host, layout.executable("springboard"), {} },
        { "settings-app", ProcessRole::Kind::Host, layout.executable("settings-app"), {} },
    };
}

Session::Session(SessionOptions options)
    : m_options(std::move(options))
{
    if (m_options.processes.empty())
        m_options.processes = ProcessRole::standard(m_options.layout);
    if (!m_options.warn)
        m_options.warn = [](const std::string&) {};
    m_device = Device::create(m_options.layout, m_options.ownership, m_options.deviceFolder);
}

Session::~Session()
{
    shutdown();
}

void Session::shutdown()
{
    m_quiescence.reset();
    m_hosts.clear();
    if (m_processes)
        m_processes->stopAll();
}

Answer Session::execute(const ScenarioLine& line)
{
    try {
        if (EmergencyStop::interruptSignal())
            return Answer::error("interrupted");
        const Command& command = line.command;
        switch (line.kind) {
        case CommandKind::Setup: {
            Answer answer = setUp(command, line.folder.empty() ? m_options.sourceFolder : line.folder);
            if (m_booted && answer.isOk())
                settle();
            return answer;
        }
        case CommandKind::Boot:
            return boot();
        case CommandKind::SpringBoard:
            return forward("springboard", command);
        case CommandKind::Settings:
            return forward("settings-app", command);
        case CommandKind::Wait:
            if (command.argument(0) == "until")
                return waitUntil(command);
            return wait(command.number(0));
        case CommandKind::Screenshot:
            return screenshot(command);
        case CommandKind::Dump:
            if (command.argument(0) == "hierarchy")
                return dumpHierarchy(command);
            return dumpToFile(command);
        case CommandKind::Expect:
            return expect(command);
        case CommandKind::Include:
            return Answer::error("'include' is played where the file is read, not by the device");
        case CommandKind::Channel:
            return Answer::error("'" + command.name() + "' is a request of the control channel, not a scenario command");
        }
        return Answer::error("unhandled command");
    } catch (const std::exception& error) {
        // An interrupt stops the device under a command's feet; what broke on the way (a closed
        // socket, a process gone) is a consequence, not the news.
        if (EmergencyStop::interruptSignal())
            return Answer::error("interrupted");
        return Answer::error(error.what());
    }
}

Answer Session::setUp(const Command& command, const fs::path& sourceFolder)
{
    const std::string& name = command.name();
    if (name == "activator") {
        m_device->setActivatorInstalled(command.argument(0) == "on");
    } else if (name == "companion") {
        if (command.argument(0) == "pace")
            m_device->setCompanionStageSeconds(std::stod(command.argument(1)));
        else
            m_device->setCompanionInstalled(command.argument(0) == "on");
    } else if (name == "prefs") {
        m_device->setPreference(command.argument(0), *protocol::CommandChecker::jsonArgument(command.word(1)));
    } else if (name == "prefs-remove") {
        m_device->removePreference(command.argument(0));
    } else if (name == "file") {
        if (command.argument(0) == "put") {
            fs::path source = command.argument(2);
            if (source.is_relative())
                source = sourceFolder / source;
            m_device->putFile(command.argument(1), source);
        } else {
            m_device->removeFile(command.argument(1));
        }
    } else if (name == "app") {
        m_device->installApp(command);
    } else if (name == "package") {
        return package(command, sourceFolder);
    } else if (name == "broker") {
        restartBroker();
    } else {
        return Answer::error("unknown setting-up command '" + name + "'");
    }
    return Answer::ok();
}

Answer Session::boot()
{
    if (m_booted)
        return Answer::error("the device is already booted");

    std::string missing;
    for (const auto& role : m_options.processes) {
        if (::access(role.executable.c_str(), X_OK) != 0)
            missing += (missing.empty() ? "" : ", ") + role.name;
    }
    if (!missing.empty())
        return Answer::error("cannot boot: not built: " + missing + " (looked in " + m_options.layout.binFolder.string() + ")");

    for (const auto& warning : m_device->prepareForBoot())
        m_options.warn("warning: " + warning);
    if (auto warning = outdatedPreferencesWarning())
        m_options.warn("warning: " + *warning);

    try {
        startProcesses();
    } catch (...) {
        // A device that did not come up entirely is taken down again, so boot can be retried.
        shutdown();
        throw;
    }
    m_booted = true;
    settle();
    return Answer::ok();
}

std::optional<std::string> Session::outdatedPreferencesWarning() const
{
    // The add-on takes a preferences file without these two keys for one from an older release and
    // replaces it with its defaults at start-up: what the scenario set up would silently vanish.
    auto current = PropertyListJson::readFile(m_device->hostPath(Device::preferencesPath));
    if (current.status != PropertyListJson::Status::Read || !current.value.is_object())
        return std::nullopt;
    std::string missing;
    for (const char* key : { "SelectedTheme", "AlertToClearBadge" }) {
        if (!current.value.contains(key))
            missing += (missing.empty() ? "" : " and ") + std::string(key);
    }
    if (missing.empty())
        return std::nullopt;
    return "the preferences file set up before boot has no " + missing
        + ", so the add-on takes it for an outdated file and replaces it with its defaults at start-up"
          " (set both with prefs lines to keep the other values)";
}

void Session::startProcesses()
{
    m_processes = std::make_unique<ProcessSupervisor>(std::map<std::string, std::string> {
        { "TORVANE_DEVICE_ROOT", m_device->root().string() },
        { protocol::virtualTimeVariable, m_options.virtualTime ? "1" : "0" },
        { "TORVANE_COMPANION_STAGE_SECONDS", m_device->companionStageSecondsText() },
    });
    m_quiescence = std::make_unique<Quiescence>(m_options.settleTimeout);

    for (const auto& role : m_options.processes) {
        if (role.kind == ProcessRole::Kind::Broker) {
            startBroker(role);
            continue;
        }
        startHost(role);
        m_quiescence->addHost(role.name, *m_hosts[role.name]);
    }
}

void Session::startBroker(const ProcessRole& role)
{
    m_processes->start({ role.name, role.executable, role.arguments, m_device->captureFile(role.name) });
    auto socket = m_device->hostPath(brokerSocketPath).string();
    m_processes->waitUntilReady(role.name, [&] { return support::UnixSocket::hasListener(socket); }, m_options.startTimeout);
    m_quiescence->setBroker(socket);
}

void Session::startHost(const ProcessRole& role)
{
    m_processes->start({ role.name, role.executable, role.arguments, m_device->captureFile(role.name) });
    auto socket = m_device->hostPath(protocol::controlSocketDevicePath(role.name)).string();
    std::unique_ptr<protocol::ControlClient> client;
    m_processes->waitUntilReady(role.name, [&] {
        client = protocol::ControlClient::tryConnect(socket, role.name);
        return client != nullptr;
    }, m_options.startTimeout);
    client->call("ping", m_options.startTimeout);
    m_hosts[role.name] = std::move(client);
}

void Session::restartBroker()
{
    // As when notifyd dies on the device and launchd starts it again: the processes go on, and
    // whatever observes Darwin notifications connects to the new broker by itself.
    settle();
    for (const auto& role : m_options.processes) {
        if (role.kind != ProcessRole::Kind::Broker)
            continue;
        m_processes->stop(role.name, std::chrono::milliseconds(0));
        startBroker(role);
    }
    settle();
}

void Session::restartSpringBoard()
{
    // As `killall SpringBoard` on the device: SpringBoard ends, and with it every application it
    // launched, Settings included; it starts again and loads what the substrate's folder now
    // holds. Settings is started again too, so the Settings commands keep working, and it reads
    // the installed bundles afresh. The notification broker goes on.
    settle();
    m_quiescence.reset();
    for (auto role = m_options.processes.rbegin(); role != m_options.processes.rend(); ++role) {
        if (role->kind != ProcessRole::Kind::Host)
            continue;
        m_hosts.erase(role->name);
        m_processes->stop(role->name);
    }
    m_quiescence = std::make_unique<Quiescence>(m_options.settleTimeout);
    m_quiescence->setBroker(m_device->hostPath(brokerSocketPath));
    for (const auto& role : m_options.processes) {
        if (role.kind != ProcessRole::Kind::Host)
            continue;
        startHost(role);
        m_quiescence->addHost(role.name, *m_hosts[role.name]);
    }
    settle();
}

fs::path Session::packageFile(const std::string& file, const fs::path& sourceFolder) const
{
    // Scenarios are written once for every machine: "_ARCH.deb" stands for the architecture the
    // device's packages are built for.
    std::string name = file;
    const std::string placeholder = "_ARCH.deb";
    const auto& architecture = m_options.layout.architecture;
    if (name.ends_with(placeholder) && !architecture.empty())
        name = name.substr(0, name.size() - placeholder.size()) + "_" + architecture + ".deb";
    fs::path path = name;
    if (path.is_absolute())
        return path;
    std::error_code error;
    for (const auto& folder : { sourceFolder, m_options.layout.packagesFolder }) {
        if (!folder.empty() && fs::is_regular_file(folder / path, error))
            return fs::absolute(folder / path);
    }
    throw std::runtime_error("no package " + name + " beside the scenario (" + sourceFolder.string() + ") or among the built packages ("
        + m_options.layout.packagesFolder.string() + ")");
}

Answer Session::package(const Command& command, const fs::path& sourceFolder)
{
    bool installing = command.argument(0) == "install";
    bool refusalWanted = installing && command.hasArgument(2) && command.argument(2) == "refused";
    DevicePackages::Outcome outcome;
    if (installing) {
        outcome = m_device->packages().install(packageFile(command.argument(1), sourceFolder));
    } else {
        // Debian package names: lower-case letters, digits and + - . (never an option for dpkg).
        const std::string& name = command.argument(1);
        bool valid = name.size() >= 2 && std::isalnum(static_cast<unsigned char>(name[0]))
            && std::all_of(name.begin(), name.end(), [](char c) { return (std::islower(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.'); });
        if (!valid)
            return Answer::error("'" + name + "' is not a package name (lower-case letters, digits, + - and .)");
        outcome = m_device->packages().remove(name);
    }

    // Once booted, a script that asked for SpringBoard's restart gets it, also when dpkg failed
    // later on: the scripts that ran did run.
    bool restart = m_booted && std::find(outcome.killed.begin(), outcome.killed.end(), "SpringBoard") != outcome.killed.end();
    if (restart)
        restartSpringBoard();
    std::string note = restart ? "SpringBoard restarted" : std::string();

    if (refusalWanted) {
        if (outcome.succeeded)
            return Answer::failed("dpkg installed " + command.argument(1) + ", which should have been refused:\n" + outcome.output);
        return Answer::ok(nullptr, "refused by dpkg: " + outcome.output);
    }
    if (!outcome.succeeded)
        return Answer::error("dpkg failed:\n" + outcome.output);
    return Answer::ok(nullptr, note);
}

Answer Session::expectPackage(const Command& command)
{
    const std::string& name = command.argument(1);
    bool wantInstalled = command.argument(2) == "installed";
    auto state = m_device->packages().state(name);
    std::string seen = !state ? "unknown to the device's database" : "in state " + state->status + (state->version.empty() ? "" : " at version " + state->version);
    if (!wantInstalled) {
        if (!state || state->absent())
            return Answer::ok();
        return Answer::failed("package " + name + " is not absent: " + seen);
    }
    if (!state || !state->installed())
        return Answer::failed("package " + name + " is not installed: " + seen);
    if (command.hasArgument(3) && state->version != command.argument(3))
        return Answer::failed("package " + name + " is installed at version " + state->version + ", not " + command.argument(3));
    return Answer::ok();
}

protocol::ControlClient& Session::host(const std::string& name)
{
    auto it = m_hosts.find(name);
    if (it == m_hosts.end())
        throw protocol::ControlError(name + " is not running on this device");
    return *it->second;
}

void Session::settle()
{
    if (m_quiescence)
        m_quiescence->wait();
}

Answer Session::forward(const std::string& hostName, const Command& command)
{
    auto answer = host(hostName).call(command.line());
    // A drag lets virtual time pass in the process it happens in; the rest of the device keeps
    // step, so every clock shows the same moment afterwards.
    if (auto elapsed = answer.find("elapsed"); elapsed != answer.end() && elapsed->is_number() && elapsed->get<double>() > 0) {
        for (auto& [name, client] : m_hosts) {
            if (name != hostName)
                client->call("advance " + formatSeconds(elapsed->get<double>()));
        }
    }
    settle();
    answer.erase("ok");
    return Answer::ok(answer.empty() ? Json(nullptr) : answer);
}

Answer Session::wait(double seconds)
{
    // Every host's clock moves in the same steps, from one timer to the next anywhere on the
    // device, and the device settles after each step: work that a timer in one process causes in
    // another happens at the virtual moment it would on the device.
    double remaining = seconds;
    size_t steps = 0;
    for (;;) {
        auto settled = m_quiescence->wait();
        if (remaining <= 0)
            break;
        if (++steps > maximumWaitSteps)
            return Answer::error("wait " + formatSeconds(seconds) + " took more than " + std::to_string(maximumWaitSteps) + " steps (a timer keeps firing)");
        double step = remaining;
        if (settled.nextTimer && *settled.nextTimer < remaining)
            step = std::max(*settled.nextTimer, 0.0);
        for (auto& [name, client] : m_hosts)
            client->call("advance " + formatSeconds(step));
        remaining = step == remaining ? 0 : remaining - step;
    }
    return Answer::ok();
}

Answer Session::waitUntil(const Command& command)
{
    auto read = WaitCondition::read(command);
    if (auto* error = std::get_if<std::string>(&read))
        return Answer::error(*error);
    const auto& condition = std::get<WaitCondition>(read);

    // One look per frame, the first before the clock moves: a condition that already holds
    // costs no time.
    auto frames = static_cast<size_t>(std::ceil(condition.maxSeconds / WaitCondition::frameSeconds - 1e-9));
    std::string lastSeen;
    for (size_t frame = 0;; ++frame) {
        auto outcome = checkCondition(condition);
        if (outcome.held)
            return Answer::ok(nullptr, "held after " + formatSeconds(frame * WaitCondition::frameSeconds) + " s");
        lastSeen = outcome.message;
        if (frame >= frames)
            break;
        Answer step = wait(WaitCondition::frameSeconds);
        if (!step.isOk())
            return step;
    }
    return Answer::failed("still not so after " + formatSeconds(condition.maxSeconds) + " s: " + lastSeen);
}

Expectation::Outcome Session::checkCondition(const WaitCondition& condition)
{
    if (condition.isLog()) {
        DeviceLog log(m_device->hostPath("/var/log"));
        if (!log.linesContaining(condition.pointer).empty())
            return { true, {} };
        return { false, "no log line contains " + Json(condition.pointer).dump() + " (" + std::to_string(log.lines().size()) + " lines searched)" };
    }
    auto pointer = JsonPointer::parse(condition.pointer);
    Json document = dump(condition.target);
    auto outcome = Expectation::evaluate(pointer->resolve(document), condition.op, condition.expected);
    if (!outcome.held)
        outcome.message = condition.target + " " + (pointer->text().empty() ? "\"\"" : pointer->text()) + ": " + outcome.message;
    return outcome;
}

fs::path Session::outputPath(const std::string& file) const
{
    fs::path path = file;
    if (path.is_relative())
        path = m_options.outFolder / path;
    path = fs::absolute(path);
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    return path;
}

std::string Session::hostForTarget(const std::string& target)
{
    return target == "settings" ? "settings-app" : target;
}

Answer Session::screenshot(const Command& command)
{
    auto path = outputPath(command.argument(1));
    std::error_code error;
    fs::remove(path, error);
    std::string hostName = hostForTarget(command.argument(0));
    host(hostName).call("screenshot " + protocol::LineTokenizer::quote(path.string()));
    settle();
    if (!fs::is_regular_file(path, error))
        return Answer::error(hostName + " answered the screenshot but wrote no file at " + path.string());
    return Answer::ok(nullptr, path.string());
}

Json Session::dump(const std::string& target)
{
    if (target == "prefs" || target == "companion") {
        auto path = m_device->hostPath(target == "prefs" ? Device::preferencesPath : Device::companionDataPath);
        auto read = PropertyListJson::readFile(path);
        if (read.status == PropertyListJson::Status::Unreadable)
            throw protocol::ControlError("the " + target + " file is not a readable property list");
        return read.value;
    }
    auto answer = host(hostForTarget(target)).call("dump");
    if (answer.contains("dump"))
        return answer["dump"];
    answer.erase("ok");
    return answer;
}

Answer Session::dumpToFile(const Command& command)
{
    return documentAnswer(dump(command.argument(0)), command, 1);
}

Answer Session::documentAnswer(const Json& document, const Command& command, size_t fileArgument)
{
    // Without a file the document is the answer, printed as the shell prints it.
    if (!command.hasArgument(fileArgument))
        return Answer::ok(document);
    auto path = outputPath(command.argument(fileArgument));
    std::string text = document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    if (!OutputFile::write(path, text))
        return Answer::error("cannot write " + path.string() + ": " + std::strerror(errno));
    return Answer::ok(nullptr, path.string());
}

Json Session::hierarchy(const std::string& target)
{
    auto answer = host(hostForTarget(target)).call("hierarchy");
    if (answer.contains("hierarchy"))
        return answer["hierarchy"];
    throw protocol::ControlError(hostForTarget(target) + " gave no view tree");
}

Answer Session::dumpHierarchy(const Command& command)
{
    return documentAnswer(hierarchy(command.argument(1)), command, 2);
}

Answer Session::expect(const Command& command)
{
    const std::string& target = command.argument(0);
    if (target == "log") {
        DeviceLog log(m_device->hostPath("/var/log"));
        auto found = log.linesContaining(command.argument(2));
        bool wanted = command.argument(1) == "contains";
        if (wanted == !found.empty())
            return Answer::ok();
        if (wanted)
            return Answer::failed("no log line contains " + Json(command.argument(2)).dump() + " (" + std::to_string(log.lines().size()) + " lines searched)");
        return Answer::failed("a log line contains " + Json(command.argument(2)).dump() + ": " + found.front());
    }

    if (target == "package")
        return expectPackage(command);

    if (target == "file") {
        std::error_code error;
        bool exists = fs::exists(m_device->hostPath(command.argument(1)), error);
        bool wanted = command.argument(2) == "exists";
        if (exists == wanted)
            return Answer::ok();
        return Answer::failed(command.argument(1) + (exists ? " exists" : " does not exist"));
    }

    auto pointer = JsonPointer::parse(command.argument(1));
    auto op = Expectation::parseOp(command.argument(2));
    if (!pointer || !op)
        return Answer::error("malformed expect");
    Json expected = Expectation::takesValue(*op) ? *protocol::CommandChecker::jsonArgument(command.word(3)) : Json(nullptr);
    Json document = dump(target);
    auto outcome = Expectation::evaluate(pointer->resolve(document), *op, expected);
    if (outcome.held)
        return Answer::ok();
    return Answer::failed(target + " " + (pointer->text().empty() ? "\"\"" : pointer->text()) + ": " + outcome.message);
}

}
