#include <foundation/NSNumber.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <functional>

namespace foundation {

using runtime::Ref;

TORVANE_DEFINE_CLASS(NSNumber)

Ref<NSNumber> NSNumber::numberWithBool(bool value)
{
    return adoptRef(*new NSNumber(Kind::Boolean, value ? 1 : 0, value ? 1 : 0));
}

Ref<NSNumber> NSNumber::numberWithInteger(int64_t value)
{
    return adoptRef(*new NSNumber(Kind::Integer, value, static_cast<double>(value)));
}

Ref<NSNumber> NSNumber::numberWithDouble(double value)
{
    return adoptRef(*new NSNumber(Kind::Double, 0, value));
}

Ref<NSNumber> NSNumber::numberWithFloat(float value)
{
    return adoptRef(*new NSNumber(Kind::Float, 0, value));
}

bool NSNumber::boolValue() const
{
    return isInteger() ? m_integer != 0 : m_real != 0;
}

// Truncates toward zero and saturates; NaN gives 0.
static int64_t saturatingTruncate(double value, int64_t minimum, int64_t maximum)
{
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(minimum))
        return minimum;
    if (value >= static_cast<double>(maximum))
        return maximum;
    return static_cast<int64_t>(value);
}

int NSNumber::intValue() const
{
    if (isInteger())
        return static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(m_integer)));
    return static_cast<int>(saturatingTruncate(m_real, INT_MIN, INT_MAX));
}

int64_t NSNumber::integerValue() const
{
    return isInteger() ? m_integer : saturatingTruncate(m_real, INT64_MIN, INT64_MAX);
}

double NSNumber::doubleValue() const
{
    return isInteger() ? static_cast<double>(m_integer) : m_real;
}

template<typename T>
static NSComparisonResult orderOf(T a, T b)
{
    if (a == b)
        return NSOrderedSame;
    return a < b ? NSOrderedAscending : NSOrderedDescending;
}

// An integer against a real, exactly (a double cannot hold every 64-bit integer).
static NSComparisonResult compareIntegerWithReal(int64_t integer, double real)
{
    if (std::isnan(real))
        return NSOrderedDescending;
    if (real < -9223372036854775808.0)
        return NSOrderedDescending;
    if (real >= 9223372036854775808.0)
        return NSOrderedAscending;
    const double whole = std::trunc(real);
    if (auto order = orderOf(integer, static_cast<int64_t>(whole)))
        return order;
    return orderOf(0.0, real - whole);
}

NSComparisonResult NSNumber::compare(const NSNumber& other) const
{
    if (isInteger() && other.isInteger())
        return orderOf(m_integer, other.m_integer);
    if (isInteger())
        return compareIntegerWithReal(m_integer, other.m_real);
    if (other.isInteger())
        return static_cast<NSComparisonResult>(-compareIntegerWithReal(other.m_integer, m_real));
    if (std::isnan(m_real) || std::isnan(other.m_real))
        return orderOf(!std::isnan(m_real), !std::isnan(other.m_real));
    return orderOf(m_real, other.m_real);
}

std::string NSNumber::description() const
{
    // Every NaN reads "nan", as the device's C library prints it; glibc would print "-nan" for one
    // with its sign bit set, and a value read from a file and written back (where the sign is not
    // kept) would then describe differently.
    if (m_kind != Kind::Boolean && m_kind != Kind::Integer && std::isnan(m_real))
        return "nan";
    char text[64];
    switch (m_kind) {
    case Kind::Boolean:
    case Kind::Integer:
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(m_integer));
        break;
    case Kind::Double:
        std::snprintf(text, sizeof text, "%0.16g", m_real);
        break;
    case Kind::Float:
        std::snprintf(text, sizeof text, "%0.7g", m_real);
        break;
    }
    return text;
}

bool NSNumber::isEqual(const runtime::Object* other) const
{
    auto* number = runtime::dynamicCast<NSNumber>(other);
    return number && compare(*number) == NSOrderedSame;
}

size_t NSNumber::hash() const
{
    // Equal numbers must hash alike whatever their kind: whole reals hash as integers.
    if (isInteger())
        return std::hash<int64_t>()(m_integer);
    if (std::isnan(m_real))
        return 0;
    if (m_real == std::trunc(m_real) && std::abs(m_real) < 9.2e18)
        return std::hash<int64_t>()(static_cast<int64_t>(m_real));
    return std::hash<double>()(m_real);
}

}
