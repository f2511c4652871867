#pragma once

#include <foundation/Clock.h>
#include <foundation/ObserverToken.h>
#include <foundation/Seconds.h>

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>

namespace foundation {

// The process's main run loop: timers, delayed and next-turn work, and file-descriptor sources, all
// run on the main thread. Everything time-related reads the loop's clock, which can be swapped for
// a VirtualClock so tests and scripted device runs never depend on wall time.
//
// Order: one turn first runs the handlers of readable sources (in registration order), then every
// piece of work that was due when those handlers finished, in due-time order and, for equal times,
// in the order it was scheduled. Work scheduled during a turn runs in a later turn, never in the
// turn (or the call) that scheduled it. Handlers may add and remove work and sources freely.
//
// Not thread-safe: only the main thread touches the loop.
class RunLoop {
public:
    using Function = std::function<void()>;
    enum class Repeats { No, Yes };

    // Names one scheduled piece of work. Dropping a handle does not cancel the work; `cancel()` does.
    // Work that must not outlive whoever scheduled it belongs in a ScheduledCall, which cancels
    // when it is destroyed.
    class Handle {
    public:
        Handle() = default;
        // Removes the work if it has not run yet (and stops a repeating timer). Safe to call from
        // inside the work itself and more than once.
        void cancel();
        bool isPending() const;

    private:
        friend class RunLoop;
        Handle(RunLoop& loop, uint64_t id)
            : m_loop(&loop)
            , m_id(id)
        {
        }
        RunLoop* m_loop { nullptr };
        uint64_t m_id { 0 };
    };

    // The one loop of this process. It lives until the process ends, so handles and tokens may
    // safely outlive anything else.
    static RunLoop& main();

    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    // Replaces the clock. Pending work keeps the time it still had left on the old clock.
    void setClock(std::shared_ptr<Clock>);
    Clock& clock() const { return *m_clock; }
    MonotonicTime now() const { return m_clock->now(); }

    // Runs `function` on the next turn.
    Handle dispatch(Function);
    // Runs `function` once `delay` has passed (a zero or negative delay means the next turn).
    Handle dispatchAfter(Seconds delay, Function);
    // Runs `function` after `interval`, and again every `interval` if repeating. A repeating interval
    // below 0.1 ms is raised to 0.1 ms so a timer can never starve the loop. A repeating timer that
    // falls behind (a blocked main thread on the real clock) skips the fires it missed.
    Handle addTimer(Seconds interval, Repeats, Function);

    // Calls `handler` on the loop whenever `fd` is readable (or has hung up or failed: the handler
    // then reads end-of-file or an error and should remove itself). The token removes the source.
    ObserverToken addSource(int fd, Function handler);

    // One turn: waits up to `maxWait` for a source to become readable or, on the real clock, for the
    // next timer; then runs what is ready. Returns how many handlers and pieces of work ran.
    // Without sources a finite wait on the real clock is a sleep; an infinite wait with nothing that
    // could end it (no sources, and no timer on the real clock) returns at once.
    size_t runOnce(Seconds maxWait = Seconds(0));
    // Turns until `stop()` is called, or until nothing is left that could ever wake the loop.
    void run();
    void stop() { m_stopRequested = true; }

    // Runs everything due now, including work that work queued and sources that are readable, until
    // nothing is left to do. Bounded: returns false when it gave up after `maxIdleTurns` turns
    // (a handler that keeps rescheduling itself for "now").
    static constexpr size_t maxIdleTurns = 10000;
    bool runUntilIdle();

    // Lets `delta` pass. On a virtual clock the clock steps to each timer's due time in order
    // (running what is due at each step, so work scheduled by a timer for a moment inside the
    // window fires at its own time) and finally to the target. On the real clock it runs the loop
    // until that much real time has passed.
    void advanceBy(Seconds delta);

    // For deciding whether the process is idle.
    bool hasDueWork() const;
    std::optional<Seconds> timeUntilNextTimer() const;
    size_t pendingWorkCount() const { return m_work.size(); }
    bool hasReadySource() const;
    bool isIdle() const { return !hasDueWork() && !hasReadySource(); }

    // Drops every pending timer and piece of work (sources stay: their tokens own them). For tests
    // that share the process's loop, and for an orderly shutdown.
    void discardPendingWork();

private:
    RunLoop();

    struct Work {
        uint64_t id;
        MonotonicTime due;
        uint64_t sequence;
        bool repeats;
        Seconds interval;
        Function function;
    };
    struct QueueKey {
        MonotonicTime due;
        uint64_t sequence;
        uint64_t id;
        auto operator<=>(const QueueKey&) const = default;
    };
    struct Source {
        int fd;
        Function handler;
    };

    Handle schedule(MonotonicTime due, bool repeats, Seconds interval, Function);
    void cancel(uint64_t id);
    void removeSource(uint64_t id);
    size_t runReadySources(Seconds maxWait);
    size_t runDueWork();
    std::optional<MonotonicTime> nextDueTime() const;

    std::shared_ptr<Clock> m_clock;
    uint64_t m_nextId { 1 };
    uint64_t m_nextSequence { 1 };
    std::unordered_map<uint64_t, std::shared_ptr<Work>> m_work;
    std::set<QueueKey> m_queue;
    std::map<uint64_t, std::shared_ptr<Source>> m_sources; // id order = registration order
    bool m_stopRequested { false };
};

}
