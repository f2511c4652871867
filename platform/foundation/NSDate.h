#pragma once

#include <foundation/Forward.h>
#include <runtime/Object.h>

namespace foundation {

// A moment as seconds since 1970-01-01 00:00:00 UTC. "%@" is "2026-12-07 22:57:15 +0000".
class NSDate final : public runtime::Object {
    TORVANE_OBJECT(NSDate, runtime::Object)
public:
    // Now, by the wall clock (not the run loop's clock).
    static runtime::Ref<NSDate> date();
    static runtime::Ref<NSDate> dateWithTimeIntervalSince1970(double seconds);

    double timeIntervalSince1970() const { return m_seconds; }
    double timeIntervalSinceDate(const NSDate& other) const { return m_seconds - other.m_seconds; }

    std::string description() const override;
    bool isEqual(const runtime::Object* other) const override;
    size_t hash() const override;

private:
    explicit NSDate(double seconds)
        : m_seconds(seconds)
    {
    }

    double m_seconds;
};

}
