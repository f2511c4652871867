#pragma once

#include <foundation/RunLoop.h>
#include <foundation/Seconds.h>

namespace foundation {

// A piece of run-loop work owned by whoever scheduled it: destroying it, or assigning another call
// over it, cancels the work if it has not run yet (and stops a repeating timer). An object that
// schedules work on itself keeps one as a member, so the work can never run after the object died.
//
//     m_showIndicator = ScheduledCall::afterDelay(0.35_s, [this] { showIndicator(); });
//
// Move-only; a moved-from call owns nothing. The work itself must not capture a strong reference to
// its owner, or the owner would keep itself alive until the work ran.
class ScheduledCall {
public:
    ScheduledCall() = default;
    // Takes over work already scheduled on a loop.
    explicit ScheduledCall(RunLoop::Handle handle)
        : m_handle(handle)
    {
    }

    // Shorthands for the main loop.
    static ScheduledCall onNextTurn(RunLoop::Function);
    static ScheduledCall afterDelay(Seconds delay, RunLoop::Function);
    static ScheduledCall timer(Seconds interval, RunLoop::Repeats, RunLoop::Function);

    ScheduledCall(ScheduledCall&& other) noexcept;
    ScheduledCall& operator=(ScheduledCall&& other) noexcept;
    ScheduledCall(const ScheduledCall&) = delete;
    ScheduledCall& operator=(const ScheduledCall&) = delete;
    ~ScheduledCall() { cancel(); }

    // Safe from inside the work itself and more than once.
    void cancel();
    bool isPending() const { return m_handle.isPending(); }

private:
    RunLoop::Handle m_handle;
};

}
