#include "Quiescence.h"

#include "EmergencyStop.h"
#include "ProcessTable.h"

#include <sim/protocol/Command.h>
#include <sim/protocol/ControlError.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace sim::driver {

using namespace std::chrono_literals;

namespace {

// How often a long wait looks at memory, and how much growth counts as work under way (a host's
// own allocations wobble by a few pages).
constexpr auto growthSampleInterval = 500ms;
constexpr long growthThresholdKilobytes = 4 * 1024;

}

Quiescence::Quiescence(std::chrono::milliseconds timeout)
    : m_timeout(timeout)
    , m_growthLimit(timeout * 6)
{
}

void Quiescence::addHost(std::string name, protocol::ControlClient& client)
{
    m_hosts.push_back({ std::move(name), &client });
}

void Quiescence::setBroker(std::filesystem::path socketPath)
{
    m_brokerPath = std::move(socketPath);
    m_broker.reset();
}

long Quiescence::brokerPending()
{
    if (!m_broker)
        m_broker = protocol::ControlClient::connect(m_brokerPath->string(), "notifyd");
    std::string answer = m_broker->exchange("STATUS", std::chrono::milliseconds(5000));
    int64_t pending = 0;
    if (answer.rfind("PENDING ", 0) != 0 || !protocol::parseInteger(answer.substr(8), pending))
        throw protocol::ControlError("notifyd answered STATUS with '" + answer + "'");
    return static_cast<long>(pending);
}

long Quiescence::residentKilobytes()
{
    std::vector<pid_t> pending;
    for (auto& host : m_hosts) {
        if (host.pid <= 0) {
            auto answer = host.client->call("ping", std::chrono::milliseconds(10000));
            if (answer.contains("pid") && answer["pid"].is_number_integer())
                host.pid = answer["pid"].get<pid_t>();
        }
        if (host.pid > 0)
            pending.push_back(host.pid);
    }
    if (pending.empty())
        return 0;
    std::multimap<pid_t, pid_t> children;
    for (const auto& process : ProcessTable::all())
        children.emplace(process.parent, process.pid);
    long total = 0;
    while (!pending.empty()) {
        pid_t pid = pending.back();
        pending.pop_back();
        total += ProcessTable::residentKilobytes(pid);
        auto [first, last] = children.equal_range(pid);
        for (auto it = first; it != last; ++it)
            pending.push_back(it->second);
    }
    return total;
}

Quiescence::Result Quiescence::wait()
{
    auto start = std::chrono::steady_clock::now();
    auto deadline = start + m_timeout;
    auto hardDeadline = start + std::max(m_timeout, m_growthLimit);
    auto nextSample = start + growthSampleInterval;
    std::optional<long> resident;
    size_t idleRounds = 0;
    Result result;
    std::string lastBusy;
    while (idleRounds < 2) {
        if (EmergencyStop::interruptSignal())
            throw protocol::ControlError("interrupted");
        ++result.rounds;
        bool allIdle = true;
        std::optional<double> next;
        for (auto& host : m_hosts) {
            auto answer = host.client->call("idle", std::chrono::milliseconds(10000));
            auto idle = answer.find("idle");
            if (idle == answer.end() || !idle->is_boolean() || !idle->get<bool>()) {
                allIdle = false;
                lastBusy = host.name + " is still busy";
            }
            if (answer.contains("next") && answer["next"].is_number()) {
                double hostNext = answer["next"].get<double>();
                if (!next || hostNext < *next)
                    next = hostNext;
            }
        }
        if (m_brokerPath) {
            long pending = brokerPending();
            if (pending != 0) {
                allIdle = false;
                lastBusy = "notifyd has " + std::to_string(pending) + " undelivered notification(s)";
            }
        }
        result.nextTimer = next;
        idleRounds = allIdle ? idleRounds + 1 : 0;
        if (idleRounds >= 2)
            break;
        auto now = std::chrono::steady_clock::now();
        if (!allIdle && now >= nextSample) {
            // Memory still being made resident is work under way: the limit runs from now.
            long sample = residentKilobytes();
            bool grew = resident && sample - *resident >= growthThresholdKilobytes;
            if (grew)
                deadline = std::min(now + m_timeout, hardDeadline);
            if (!resident || grew || sample < *resident)
                resident = sample;
            nextSample = now + growthSampleInterval;
        }
        if (now > deadline) {
            auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - start);
            throw Timeout("the device did not settle within " + std::to_string(waited.count() / 1000.0) + " s: " + lastBusy);
        }
        // Busy processes are working in real time; give them the processor rather than spinning.
        if (!allIdle)
            std::this_thread::sleep_for(200us);
    }
    return result;
}

}
