#include <foundation/Clock.h>

#include <ctime>

namespace foundation {

MonotonicTime RealClock::now() const
{
    timespec reading {};
    clock_gettime(CLOCK_MONOTONIC, &reading);
    return MonotonicTime::fromSecondsSinceOrigin(Seconds(static_cast<double>(reading.tv_sec) + static_cast<double>(reading.tv_nsec) / 1e9));
}

void VirtualClock::advance(Seconds delta)
{
    if (delta > Seconds(0))
        m_now = m_now + delta;
}

void VirtualClock::advanceTo(MonotonicTime time)
{
    if (time > m_now)
        m_now = time;
}

}
