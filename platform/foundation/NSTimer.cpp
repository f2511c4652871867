#include <foundation/NSTimer.h>

#include <utility>

namespace foundation {

TORVANE_DEFINE_CLASS(NSTimer)

runtime::Ref<NSTimer> NSTimer::scheduledTimerWithTimeInterval(Seconds interval, bool repeats, Callback callback)
{
    auto timer = runtime::adoptRef(*new NSTimer(interval, repeats, std::move(callback)));
    timer->scheduleOn(RunLoop::main());
    return timer;
}

NSTimer::NSTimer(Seconds interval, bool repeats, Callback callback)
    : m_interval(interval)
    , m_repeats(repeats)
    , m_callback(std::move(callback))
{
}

void NSTimer::scheduleOn(RunLoop& loop)
{
    // The scheduled work holds the timer: that is the run loop's ownership.
    auto fireFromLoop = [timer = runtime::Ref<NSTimer>(*this)] { timer->fire(); };
    m_scheduled = ScheduledCall(loop.addTimer(m_interval, m_repeats ? RunLoop::Repeats::Yes : RunLoop::Repeats::No, std::move(fireFromLoop)));
}

void NSTimer::fire()
{
    if (!m_valid || m_firing)
        return;
    runtime::Ref<NSTimer> protect(*this);
    if (!m_repeats) {
        // Invalid before the callback runs, as on the device: the callback sees isValid() == false.
        m_valid = false;
        m_scheduled.cancel();
        Callback callback = std::exchange(m_callback, nullptr);
        callback(*this);
        return;
    }
    m_firing = true;
    m_callback(*this);
    m_firing = false;
    if (!m_valid)
        m_callback = nullptr; // invalidated from inside its own callback
}

void NSTimer::invalidate()
{
    if (!m_valid)
        return;
    m_valid = false;
    runtime::Ref<NSTimer> protect(*this);
    m_scheduled.cancel();
    // A running callback must not be destroyed under itself; fire() releases it afterwards.
    if (!m_firing)
        m_callback = nullptr;
}

}
