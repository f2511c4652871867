#pragma once

#include <foundation/NSString.h>
#include <runtime/Object.h>

#include <cstdint>

namespace foundation {

// A boolean, an integer (64-bit), a double or a float.
//   "%@": integers in decimal, booleans 1 / 0, doubles with %0.16g, floats with %0.7g.
//   isEqual: numeric value, whatever the kind (YES equals 1, 2.0 equals 2).
//   intValue of a real truncates toward zero and saturates at INT_MIN/INT_MAX (NaN gives 0);
//   intValue of an integer outside the int range keeps its low 32 bits, as Foundation does.
class NSNumber final : public runtime::Object {
    TORVANE_OBJECT(NSNumber, runtime::Object)
public:
    enum class Kind { Boolean, Integer, Double, Float };

    static runtime::Ref<NSNumber> numberWithBool(bool value);
    static runtime::Ref<NSNumber> numberWithInt(int value) { return numberWithInteger(value); }
    static runtime::Ref<NSNumber> numberWithInteger(int64_t value);
    static runtime::Ref<NSNumber> numberWithDouble(double value);
    static runtime::Ref<NSNumber> numberWithFloat(float value);

    Kind kind() const { return m_kind; }
    bool isBoolean() const { return m_kind == Kind::Boolean; }
    bool isInteger() const { return m_kind == Kind::Boolean || m_kind == Kind::Integer; }

    bool boolValue() const;
    int intValue() const;
    int64_t integerValue() const;
    double doubleValue() const;
    float floatValue() const { return static_cast<float>(doubleValue()); }
    runtime::Ref<NSString> stringValue() const { return NSString::create(description()); }

    // Numeric order; NaN sorts before every other number and equals itself.
    NSComparisonResult compare(const NSNumber& other) const;

    std::string description() const override;
    bool isEqual(const runtime::Object* other) const override;
    size_t hash() const override;

private:
    NSNumber(Kind kind, int64_t integer, double real)
        : m_kind(kind)
        , m_integer(integer)
        , m_real(real)
    {
    }

    Kind m_kind;
    int64_t m_integer;
    double m_real;
};

}
