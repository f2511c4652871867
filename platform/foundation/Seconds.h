#pragma once

#include <cmath>
#include <compare>
#include <limits>

namespace foundation {

// A duration. Time is a type here rather than a bare double so an interval can never be mixed up
// with a point in time or with milliseconds.
class Seconds {
public:
    constexpr Seconds() = default;
    constexpr explicit Seconds(double value)
        : m_value(value)
    {
    }

    static constexpr Seconds fromMilliseconds(double milliseconds) { return Seconds(milliseconds / 1000.0); }
    static constexpr Seconds infinity() { return Seconds(std::numeric_limits<double>::infinity()); }

    constexpr double value() const { return m_value; }
    constexpr double milliseconds() const { return m_value * 1000.0; }
    bool isInfinite() const { return std::isinf(m_value); }

    constexpr Seconds operator+(Seconds other) const { return Seconds(m_value + other.m_value); }
    constexpr Seconds operator-(Seconds other) const { return Seconds(m_value - other.m_value); }
    constexpr Seconds operator-() const { return Seconds(-m_value); }
    constexpr Seconds operator*(double factor) const { return Seconds(m_value * factor); }
    constexpr Seconds operator/(double divisor) const { return Seconds(m_value / divisor); }
    constexpr double operator/(Seconds other) const { return m_value / other.m_value; }
    Seconds& operator+=(Seconds other)
    {
        m_value += other.m_value;
        return *this;
    }
    Seconds& operator-=(Seconds other)
    {
        m_value -= other.m_value;
        return *this;
    }

    constexpr auto operator<=>(const Seconds&) const = default;

private:
    double m_value { 0 };
};

// A point on a clock that only moves forward. Its origin is the clock's own (boot time for the real
// clock, zero for a virtual one), so only differences and comparisons mean anything.
class MonotonicTime {
public:
    constexpr MonotonicTime() = default;

    static constexpr MonotonicTime fromSecondsSinceOrigin(Seconds sinceOrigin) { return MonotonicTime(sinceOrigin); }
    static constexpr MonotonicTime infinity() { return MonotonicTime(Seconds::infinity()); }

    constexpr Seconds secondsSinceOrigin() const { return m_sinceOrigin; }
    bool isInfinite() const { return m_sinceOrigin.isInfinite(); }

    constexpr MonotonicTime operator+(Seconds delta) const { return MonotonicTime(m_sinceOrigin + delta); }
    constexpr MonotonicTime operator-(Seconds delta) const { return MonotonicTime(m_sinceOrigin - delta); }
    constexpr Seconds operator-(MonotonicTime other) const { return m_sinceOrigin - other.m_sinceOrigin; }

    constexpr auto operator<=>(const MonotonicTime&) const = default;

private:
    constexpr explicit MonotonicTime(Seconds sinceOrigin)
        : m_sinceOrigin(sinceOrigin)
    {
    }

    Seconds m_sinceOrigin;
};

namespace literals {

constexpr Seconds operator""_s(long double value) { return Seconds(static_cast<double>(value)); }
constexpr Seconds operator""_s(unsigned long long value) { return Seconds(static_cast<double>(value)); }
constexpr Seconds operator""_ms(long double value) { return Seconds::fromMilliseconds(static_cast<double>(value)); }
constexpr Seconds operator""_ms(unsigned long long value) { return Seconds::fromMilliseconds(static_cast<double>(value)); }

}

}
