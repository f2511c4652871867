#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace sim::viewer {

// What the viewer tells every open page, as server-sent events. Any thread publishes; each page's
// stream waits for what is new. An event published under a key (a screen's frame, the state)
// replaces the one before it for pages that connect later, so a new page starts from the current
// picture; the last log lines are kept for it too.
class EventHub {
public:
    struct Event {
        uint64_t id { 0 };
        std::string name; // the event's type: "frame", "state", "log", "recording"
        std::string data; // one line of JSON
    };

    // `key`: replaces the kept event of that key (empty: not kept, except log lines).
    void publish(std::string name, std::string data, const std::string& key = {});

    // What a page that connects now must see first: the kept event of every key and the recent
    // log lines, in the order they were published. `last` becomes the id to wait after.
    std::vector<Event> start(uint64_t& last) const;
    // Events after `last`, waiting up to `timeout` for one (empty when none came or the hub closed).
    // A page that fell too far behind gets the kept events instead of what it missed.
    std::vector<Event> next(uint64_t& last, std::chrono::milliseconds timeout);

    // Ends every wait; streams then close.
    void close();
    bool isClosed() const;

    // The text of one event on the wire.
    static std::string wireText(const Event&);

    static constexpr size_t keptEvents = 64;
    static constexpr size_t keptLogLines = 500;

private:
    std::vector<Event> keptLocked() const;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Event> m_recent;
    std::map<std::string, Event> m_byKey;
    std::deque<Event> m_log;
    uint64_t m_nextId { 1 };
    bool m_closed { false };
};

}
