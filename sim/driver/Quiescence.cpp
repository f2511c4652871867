#include "Quiescence.h"

#include "EmergencyStop.h"

#include <sim/protocol/Command.h>
#include <sim/protocol/ControlError.h>

#include <thread>

namespace sim::driver {

using namespace std::chrono_literals;

Quiescence::Quiescence(std::chrono::milliseconds timeout)
    : m_timeout(timeout)
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

Quiescence::Result Quiescence::wait()
{
    auto deadline = std::chrono::steady_clock::now() + m_timeout;
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
        if (std::chrono::steady_clock::now() > deadline)
            throw Timeout("the device did not settle within " + std::to_string(m_timeout.count() / 1000.0) + " s: " + lastBusy);
        // Busy processes are working in real time; give them the processor rather than spinning.
        if (!allIdle)
            std::this_thread::sleep_for(200us);
    }
    return result;
}

}
