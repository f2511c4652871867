#include "EventHub.h"

#include <algorithm>

namespace sim::viewer {

void EventHub::publish(std::string name, std::string data, const std::string& key)
{
    {
        std::lock_guard lock(m_mutex);
        Event event { m_nextId++, std::move(name), std::move(data) };
        if (!key.empty())
            m_byKey[key] = event;
        if (event.name == "log") {
            m_log.push_back(event);
            if (m_log.size() > keptLogLines)
                m_log.pop_front();
        }
        m_recent.push_back(std::move(event));
        if (m_recent.size() > keptEvents)
            m_recent.pop_front();
    }
    m_changed.notify_all();
}

std::vector<EventHub::Event> EventHub::keptLocked() const
{
    std::vector<Event> events(m_log.begin(), m_log.end());
    for (const auto& [key, event] : m_byKey)
        events.push_back(event);
    std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.id < b.id; });
    events.erase(std::unique(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.id == b.id; }), events.end());
    return events;
}

std::vector<EventHub::Event> EventHub::start(uint64_t& last) const
{
    std::lock_guard lock(m_mutex);
    last = m_nextId - 1;
    return keptLocked();
}

std::vector<EventHub::Event> EventHub::next(uint64_t& last, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, timeout, [&] { return m_closed || m_nextId - 1 > last; });
    if (m_closed || m_nextId - 1 <= last)
        return {};
    std::vector<Event> events;
    if (m_recent.empty() || m_recent.front().id > last + 1) {
        // Fell behind further than the recent events reach: start again from what is kept.
        for (auto& event : keptLocked()) {
            if (event.id > last)
                events.push_back(std::move(event));
        }
    } else {
        for (const auto& event : m_recent) {
            if (event.id > last)
                events.push_back(event);
        }
    }
    last = m_nextId - 1;
    return events;
}

void EventHub::close()
{
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
}

bool EventHub::isClosed() const
{
    std::lock_guard lock(m_mutex);
    return m_closed;
}

std::string EventHub::wireText(const Event& event)
{
    // The data is one line of JSON, so one data field carries it.
    return "id: " + std::to_string(event.id) + "\nevent: " + event.name + "\ndata: " + event.data + "\n\n";
}

}
