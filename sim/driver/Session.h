#pragma once

#include "Answer.h"
#include "BuildLayout.h"
#include "Device.h"
#include "Expectation.h"
#include "ProcessSupervisor.h"
#include "Quiescence.h"
#include "ScenarioLine.h"

#include <sim/protocol/ControlClient.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim::driver {

struct WaitCondition;

// A process the device runs at boot.
struct ProcessRole {
    enum class Kind {
        Broker, // the notification broker: ready when its socket takes connections, asked STATUS
        Host,   // serves a control socket (ControlServer.h) at /var/run/<name>.ctl
    };
    std::string name;
    Kind kind { Kind::Host };
    std::filesystem::path executable;
    std::vector<std::string> arguments;

    // notifyd, springboard and settings-app from the build's bin folder.
    static std::vector<ProcessRole> standard(const BuildLayout&);
};

struct SessionOptions {
    BuildLayout layout;
    Device::Ownership ownership { Device::Ownership::Fresh };
    std::filesystem::path deviceFolder;  // for KeepFresh and UseAsIs
    std::filesystem::path outFolder;     // where relative screenshot and dump files go
    std::filesystem::path sourceFolder;  // where relative host paths of `file put` start
    std::vector<ProcessRole> processes;  // empty: ProcessRole::standard
    std::chrono::milliseconds startTimeout { 10000 };
    std::chrono::milliseconds settleTimeout { 10000 };
    std::function<void(const std::string&)> warn; // notes for the user (parts not built yet)
    // Virtual time (only `wait` moves the clocks); the live viewer runs the device on real time.
    bool virtualTime { true };
};

// One device and the processes booted on it, playing scenario commands one at a time. Every
// command that reaches a process is followed by a wait until the whole device has settled
// (Quiescence.h). Destroying the session stops every process and removes the device folder unless
// it is kept.
class Session {
public:
    explicit Session(SessionOptions);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Answer execute(const ScenarioLine&);

    Device& device() { return *m_device; }
    ProcessSupervisor& processes() { return *m_processes; }
    bool isBooted() const { return m_booted; }
    // Stops the processes now (the destructor does it too).
    void shutdown();

    // A fresh dump of `target` (springboard, settings, prefs or companion).
    Json dump(const std::string& target);
    // The view tree of a process's screen (springboard or settings).
    Json hierarchy(const std::string& target);

    // The largest number of steps one `wait` may take (each step is one timer firing somewhere).
    static constexpr size_t maximumWaitSteps = 100000;

private:
    Answer boot();
    std::optional<std::string> outdatedPreferencesWarning() const;
    void startProcesses();
    void startBroker(const ProcessRole&);
    void startHost(const ProcessRole&);
    void restartSpringBoard();
    void restartBroker();
    Answer package(const protocol::Command&, const std::filesystem::path& sourceFolder);
    std::filesystem::path packageFile(const std::string& file, const std::filesystem::path& sourceFolder) const;
    Answer expectPackage(const protocol::Command&);
    Answer setUp(const protocol::Command&, const std::filesystem::path& sourceFolder);
    Answer forward(const std::string& host, const protocol::Command&);
    Answer wait(double seconds);
    Answer waitUntil(const protocol::Command&);
    Expectation::Outcome checkCondition(const WaitCondition&);
    Answer dumpHierarchy(const protocol::Command&);
    Answer screenshot(const protocol::Command&);
    Answer dumpToFile(const protocol::Command&);
    // The document as the answer, or written to the command's file argument at `fileArgument`.
    Answer documentAnswer(const Json& document, const protocol::Command&, size_t fileArgument);
    Answer expect(const protocol::Command&);
    void settle();
    protocol::ControlClient& host(const std::string& name);
    std::filesystem::path outputPath(const std::string& file) const;
    static std::string hostForTarget(const std::string& target);

    SessionOptions m_options;
    std::unique_ptr<Device> m_device;
    std::unique_ptr<ProcessSupervisor> m_processes;
    std::map<std::string, std::unique_ptr<protocol::ControlClient>> m_hosts;
    std::unique_ptr<Quiescence> m_quiescence;
    bool m_booted { false };
};

}
