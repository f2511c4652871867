#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace sim::viewer {

// The jobs for the one thread that owns the device: the web server's threads post input, controls
// and dumps here, and that thread runs them in order.
class JobQueue {
public:
    using Job = std::function<void()>;

    void post(Job job);
    // The next job, or an empty one after `timeout` or once stopped.
    Job take(std::chrono::milliseconds timeout);
    void stop();
    bool stopped();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    bool m_stopped { false };
};

}
