#pragma once

#include <foundation/RunLoop.h>
#include <foundation/ScheduledCall.h>
#include <foundation/Seconds.h>
#include <runtime/Object.h>

#include <functional>

namespace foundation {

// A timer on the main run loop. While scheduled, the run loop owns it: a one-shot timer is released
// after it fires, a repeating one when it is invalidated. Invalidating also releases the callback
// (and whatever it captured), as Foundation releases a timer's target.
class NSTimer : public runtime::Object {
    TORVANE_OBJECT(NSTimer, runtime::Object)
public:
    using Callback = std::function<void(NSTimer&)>;

    // An interval of zero fires on the next pass of the run loop, never inside this call.
    static runtime::Ref<NSTimer> scheduledTimerWithTimeInterval(Seconds interval, bool repeats, Callback);

    void invalidate();
    bool isValid() const { return m_valid; }
    Seconds timeInterval() const { return m_interval; }
    bool repeats() const { return m_repeats; }

    // Fires now, outside the schedule; a one-shot timer is then invalidated (as -fire does).
    void fire();

private:
    NSTimer(Seconds interval, bool repeats, Callback);
    void scheduleOn(RunLoop&);

    Seconds m_interval;
    bool m_repeats;
    bool m_valid { true };
    bool m_firing { false };
    Callback m_callback;
    ScheduledCall m_scheduled;
};

}
