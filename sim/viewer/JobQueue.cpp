#include "JobQueue.h"

namespace sim::viewer {

void JobQueue::post(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_changed.notify_one();
}

JobQueue::Job JobQueue::take(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, timeout, [&] { return m_stopped || !m_jobs.empty(); });
    if (m_stopped || m_jobs.empty())
        return {};
    Job job = std::move(m_jobs.front());
    m_jobs.pop_front();
    return job;
}

void JobQueue::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_changed.notify_all();
}

bool JobQueue::stopped()
{
    std::lock_guard lock(m_mutex);
    return m_stopped;
}

}
