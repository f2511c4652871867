#include <foundation/RunLoop.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <poll.h>
#include <vector>

namespace foundation {

static constexpr Seconds minimumRepeatInterval = Seconds::fromMilliseconds(0.1);

void RunLoop::Handle::cancel()
{
    if (m_loop)
        m_loop->cancel(m_id);
}

bool RunLoop::Handle::isPending() const
{
    return m_loop && m_loop->m_work.contains(m_id);
}

RunLoop& RunLoop::main()
{
    // Never destroyed: tokens and handles held by static objects may still reach it at exit.
    static RunLoop* loop = new RunLoop;
    return *loop;
}

RunLoop::RunLoop()
    : m_clock(RealClock::create())
{
}

void RunLoop::setClock(std::shared_ptr<Clock> clock)
{
    if (!clock)
        return;
    MonotonicTime oldNow = m_clock->now();
    MonotonicTime newNow = clock->now();
    m_clock = std::move(clock);
    // Rebase pending work so each keeps the time it still had left.
    std::set<QueueKey> rebased;
    for (const QueueKey& key : m_queue) {
        auto it = m_work.find(key.id);
        Seconds remaining = std::max(key.due - oldNow, Seconds(0));
        it->second->due = newNow + remaining;
        rebased.insert({ it->second->due, key.sequence, key.id });
    }
    m_queue = std::move(rebased);
}

RunLoop::Handle RunLoop::dispatch(Function function)
{
    return schedule(now(), false, Seconds(0), std::move(function));
}

RunLoop::Handle RunLoop::dispatchAfter(Seconds delay, Function function)
{
    return schedule(now() + std::max(delay, Seconds(0)), false, Seconds(0), std::move(function));
}

RunLoop::Handle RunLoop::addTimer(Seconds interval, Repeats repeats, Function function)
{
    if (repeats == Repeats::No)
        return dispatchAfter(interval, std::move(function));
    // NaN and negative intervals end up at the floor too.
    if (!(interval >= minimumRepeatInterval))
        interval = minimumRepeatInterval;
    return schedule(now() + interval, true, interval, std::move(function));
}

RunLoop::Handle RunLoop::schedule(MonotonicTime due, bool repeats, Seconds interval, Function function)
{
    uint64_t id = m_nextId++;
    auto work = std::make_shared<Work>(Work { id, due, m_nextSequence++, repeats, interval, std::move(function) });
    m_queue.insert({ work->due, work->sequence, id });
    m_work.emplace(id, std::move(work));
    return Handle(*this, id);
}

void RunLoop::cancel(uint64_t id)
{
    auto it = m_work.find(id);
    if (it == m_work.end())
        return;
    // The entry itself may be running right now; whoever runs it holds its own reference, so
    // erasing here only takes it off the schedule.
    m_queue.erase({ it->second->due, it->second->sequence, id });
    m_work.erase(it);
}

ObserverToken RunLoop::addSource(int fd, Function handler)
{
    uint64_t id = m_nextId++;
    m_sources.emplace(id, std::make_shared<Source>(Source { fd, std::move(handler) }));
    return ObserverToken([this, id] { removeSource(id); });
}

void RunLoop::removeSource(uint64_t id)
{
    m_sources.erase(id);
}

std::optional<MonotonicTime> RunLoop::nextDueTime() const
{
    if (m_queue.empty())
        return std::nullopt;
    return m_queue.begin()->due;
}

bool RunLoop::hasDueWork() const
{
    auto next = nextDueTime();
    return next && *next <= now();
}

std::optional<Seconds> RunLoop::timeUntilNextTimer() const
{
    auto next = nextDueTime();
    if (!next)
        return std::nullopt;
    return std::max(*next - now(), Seconds(0));
}

static int pollTimeout(Seconds wait)
{
    if (wait.isInfinite())
        return -1;
    if (!(wait > Seconds(0)))
        return 0;
    // Round up so a timer is never woken for a hair too early and then spun on.
    double milliseconds = std::ceil(wait.milliseconds());
    return milliseconds >= INT_MAX ? INT_MAX : static_cast<int>(milliseconds);
}

bool RunLoop::hasReadySource() const
{
    std::vector<pollfd> fds;
    for (auto& [id, source] : m_sources)
        fds.push_back({ source->fd, POLLIN, 0 });
    if (fds.empty())
        return false;
    int ready;
    do
        ready = ::poll(fds.data(), fds.size(), 0);
    while (ready < 0 && errno == EINTR);
    return ready > 0;
}

size_t RunLoop::runReadySources(Seconds maxWait)
{
    std::vector<pollfd> fds;
    std::vector<uint64_t> ids;
    for (auto& [id, source] : m_sources) {
        fds.push_back({ source->fd, POLLIN, 0 });
        ids.push_back(id);
    }
    int ready = ::poll(fds.data(), fds.size(), pollTimeout(maxWait));
    if (ready <= 0)
        return 0; // timed out, or interrupted by a signal: the caller simply turns again

    size_t ran = 0;
    for (size_t i = 0; i < fds.size(); ++i) {
        if (!fds[i].revents)
            continue;
        // An earlier handler may have removed this source.
        auto it = m_sources.find(ids[i]);
        if (it == m_sources.end())
            continue;
        std::shared_ptr<Source> source = it->second;
        if (source->fd != fds[i].fd)
            continue;
        source->handler();
        ++ran;
    }
    return ran;
}

size_t RunLoop::runDueWork()
{
    // The turn's work is fixed before any of it runs: whatever it schedules, even for "now",
    // waits for a later turn.
    MonotonicTime turnTime = now();
    std::vector<uint64_t> due;
    for (const QueueKey& key : m_queue) {
        if (key.due > turnTime)
            break;
        due.push_back(key.id);
    }

    size_t ran = 0;
    for (uint64_t id : due) {
        auto it = m_work.find(id);
        if (it == m_work.end())
            continue; // cancelled by earlier work in this turn
        std::shared_ptr<Work> work = it->second;
        m_queue.erase({ work->due, work->sequence, id });
        if (work->repeats) {
            // Reschedule before running so the work may cancel itself. Fires missed while the loop
            // was blocked are skipped rather than delivered in a burst.
            MonotonicTime next = work->due + work->interval;
            MonotonicTime current = now();
            if (next <= current) {
                double missed = std::floor((current - work->due) / work->interval);
                next = work->due + work->interval * (missed + 1);
            }
            work->due = next;
            work->sequence = m_nextSequence++;
            m_queue.insert({ work->due, work->sequence, id });
        } else {
            m_work.erase(it);
        }
        work->function();
        ++ran;
    }
    return ran;
}

size_t RunLoop::runOnce(Seconds maxWait)
{
    Seconds wait = maxWait;
    if (hasDueWork()) {
        wait = Seconds(0);
    } else if (!m_clock->isVirtual()) {
        if (auto untilNext = timeUntilNextTimer())
            wait = std::min(wait, *untilNext);
    }

    size_t ran = 0;
    if (!m_sources.empty()) {
        ran += runReadySources(wait);
    } else if (wait > Seconds(0) && !wait.isInfinite() && !m_clock->isVirtual()) {
        // Nothing to watch: only time can bring work, so sleep through the wait.
        ::poll(nullptr, 0, pollTimeout(wait));
    }
    ran += runDueWork();
    return ran;
}

void RunLoop::run()
{
    m_stopRequested = false;
    while (!m_stopRequested) {
        bool canWake = !m_sources.empty() || (!m_queue.empty() && !m_clock->isVirtual()) || hasDueWork();
        if (!canWake)
            break;
        runOnce(Seconds::infinity());
    }
    m_stopRequested = false;
}

bool RunLoop::runUntilIdle()
{
    for (size_t turn = 0; turn < maxIdleTurns; ++turn) {
        if (!runOnce(Seconds(0)))
            return true;
    }
    return false;
}

void RunLoop::advanceBy(Seconds delta)
{
    MonotonicTime target = now() + std::max(delta, Seconds(0));
    auto virtualClock = std::dynamic_pointer_cast<VirtualClock>(m_clock);
    if (!virtualClock) {
        m_stopRequested = false;
        while (now() < target && !m_stopRequested)
            runOnce(target - now());
        m_stopRequested = false;
        runUntilIdle();
        return;
    }

    // A runaway handler (one that keeps scheduling work for "now") ends the stepping rather than
    // hanging the caller.
    if (!runUntilIdle())
        return;
    while (auto next = nextDueTime()) {
        if (*next > target)
            break;
        virtualClock->advanceTo(*next);
        if (!runUntilIdle())
            return;
        // The clock may have been swapped by a handler; stop stepping a clock we no longer own.
        if (m_clock != virtualClock)
            return;
    }
    virtualClock->advanceTo(target);
    runUntilIdle();
}

void RunLoop::discardPendingWork()
{
    // Destroy the work after the maps are consistent: destructors of captured objects may schedule
    // or cancel work themselves.
    auto work = std::move(m_work);
    m_work.clear();
    m_queue.clear();
    work.clear();
}

}
