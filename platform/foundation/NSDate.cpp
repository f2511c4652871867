#include <foundation/NSDate.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <functional>

namespace foundation {

using runtime::Ref;

TORVANE_DEFINE_CLASS(NSDate)

Ref<NSDate> NSDate::date()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return dateWithTimeIntervalSince1970(std::chrono::duration<double>(now).count());
}

Ref<NSDate> NSDate::dateWithTimeIntervalSince1970(double seconds)
{
    return adoptRef(*new NSDate(seconds));
}

std::string NSDate::description() const
{
    // Whole seconds, rounded down as Foundation prints them.
    const double whole = std::floor(m_seconds);
    if (!std::isfinite(whole) || std::abs(whole) > 1e15)
        return "(invalid date)";
    const std::time_t seconds = static_cast<std::time_t>(whole);
    std::tm utc {};
    if (!::gmtime_r(&seconds, &utc))
        return "(invalid date)";
    char text[64];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &utc);
    return text;
}

bool NSDate::isEqual(const runtime::Object* other) const
{
    auto* date = runtime::dynamicCast<NSDate>(other);
    return date && date->m_seconds == m_seconds;
}

size_t NSDate::hash() const
{
    return std::hash<double>()(m_seconds);
}

}
