#pragma once

#include <sim/protocol/ControlClient.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/types.h>
#include <vector>

namespace sim::driver {

// Waits until every process has handled everything a command caused: each host answers `idle`
// with true, and the notification broker has no delivery that a client has not acknowledged yet.
// One idle round is not enough (a host may post a notification just after it answered, which then
// wakes another host that already said it was idle), so two consecutive rounds must see everyone
// idle. The wait is bounded; a process that stays busy is named in the error.
//
// The bound is not fixed while the device is visibly working: an application that makes gigabytes
// resident keeps its host busy for seconds. As long as the resident memory of the hosts and of
// everything they started keeps growing, the limit runs from the last growth instead of from the
// start of the wait, up to a hard limit.
class Quiescence {
public:
    class Timeout : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    explicit Quiescence(std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));

    // How long memory growth may keep a wait going, in all (the default: six times the timeout).
    void setGrowthLimit(std::chrono::milliseconds limit) { m_growthLimit = limit; }

    void addHost(std::string name, protocol::ControlClient&);
    // The broker's socket: "STATUS" answers "PENDING <n>".
    void setBroker(std::filesystem::path socketPath);

    struct Result {
        // The shortest time until any host's next timer; nullopt when no host has one.
        std::optional<double> nextTimer;
        size_t rounds { 0 };
    };
    Result wait();

private:
    struct Host {
        std::string name;
        protocol::ControlClient* client;
        pid_t pid { 0 }; // asked with `ping` the first time memory is measured
    };
    // Pending broker deliveries; throws when the broker cannot be asked.
    long brokerPending();
    // Resident kilobytes of every host and of all the processes under it.
    long residentKilobytes();

    std::chrono::milliseconds m_timeout;
    std::chrono::milliseconds m_growthLimit;
    std::vector<Host> m_hosts;
    std::optional<std::filesystem::path> m_brokerPath;
    std::unique_ptr<protocol::ControlClient> m_broker;
};

}
