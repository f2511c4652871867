#pragma once

#include <foundation/Seconds.h>

#include <memory>

namespace foundation {

// Where a run loop reads the time. The real clock follows CLOCK_MONOTONIC; a virtual clock stands
// still until someone moves it, so tests and scripted device runs are deterministic.
class Clock {
public:
    virtual ~Clock() = default;
    virtual MonotonicTime now() const = 0;
    // A virtual clock does not move while the process waits, so waiting for it is pointless: the run
    // loop then waits only for file descriptors.
    virtual bool isVirtual() const = 0;
};

class RealClock final : public Clock {
public:
    static std::shared_ptr<RealClock> create() { return std::make_shared<RealClock>(); }
    MonotonicTime now() const override;
    bool isVirtual() const override { return false; }
};

class VirtualClock final : public Clock {
public:
    static std::shared_ptr<VirtualClock> create(MonotonicTime start = {}) { return std::make_shared<VirtualClock>(start); }
    explicit VirtualClock(MonotonicTime start = {})
        : m_now(start)
    {
    }

    MonotonicTime now() const override { return m_now; }
    bool isVirtual() const override { return true; }

    // Moves the clock forward. Negative amounts are ignored: monotonic time never runs back.
    void advance(Seconds delta);
    // Moves the clock to `time` if that is later than now.
    void advanceTo(MonotonicTime time);

private:
    MonotonicTime m_now;
};

}
