#pragma once

#include <runtime/Object.h>

#include <array>
#include <concepts>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace foundation {

// One argument of a "%@"-style format. It borrows what it points to (objects, C strings), so
// build it and use it within one expression, as format() does.
class FormatArgument {
public:
    enum class Kind { Object, Signed, Unsigned, Real, Text };

    FormatArgument(std::nullptr_t)
        : m_kind(Kind::Object)
    {
    }
    FormatArgument(const runtime::Object* object)
        : m_kind(Kind::Object)
        , m_object(object)
    {
    }
    FormatArgument(const runtime::Object& object)
        : m_kind(Kind::Object)
        , m_object(&object)
    {
    }
    template<typename T>
    FormatArgument(const runtime::RefPtr<T>& object)
        : FormatArgument(static_cast<const runtime::Object*>(object.get()))
    {
    }
    template<typename T>
    FormatArgument(const runtime::Ref<T>& object)
        : FormatArgument(static_cast<const runtime::Object*>(object.ptr()))
    {
    }
    template<std::integral T>
    FormatArgument(T value)
        : m_kind(std::is_signed_v<T> ? Kind::Signed : Kind::Unsigned)
        , m_size(sizeof(T))
    {
        if constexpr (std::is_signed_v<T>)
            m_signed = value;
        else
            m_unsigned = value;
    }
    template<typename T>
        requires std::is_enum_v<T>
    FormatArgument(T value)
        : FormatArgument(static_cast<std::underlying_type_t<T>>(value))
    {
    }
    template<std::floating_point T>
    FormatArgument(T value)
        : m_kind(Kind::Real)
        , m_real(static_cast<double>(value))
    {
    }
    FormatArgument(const char* text)
        : m_kind(Kind::Text)
        , m_text(text ? std::string_view(text) : std::string_view())
        , m_nullText(!text)
    {
    }
    FormatArgument(const std::string& text)
        : m_kind(Kind::Text)
        , m_text(text)
    {
    }
    FormatArgument(std::string_view text)
        : m_kind(Kind::Text)
        , m_text(text)
    {
    }

    Kind kind() const { return m_kind; }
    const runtime::Object* object() const { return m_object; }
    int64_t signedValue() const { return m_signed; }
    uint64_t unsignedValue() const { return m_unsigned; }
    // Size in bytes of the integer the caller passed; unsigned conversions of a negative value
    // wrap at this width, as C's varargs would ("%u" of int -1 is 4294967295).
    unsigned integerSize() const { return m_size; }
    double realValue() const { return m_real; }
    std::string_view text() const { return m_text; }
    bool isNullText() const { return m_nullText; }

private:
    Kind m_kind;
    const runtime::Object* m_object { nullptr };
    int64_t m_signed { 0 };
    uint64_t m_unsigned { 0 };
    unsigned m_size { 0 };
    double m_real { 0 };
    std::string_view m_text;
    bool m_nullText { false };
};

// Formats like +[NSString stringWithFormat:], but type-safe. Conversions:
//   %@            an object's description(); nil prints "(null)"
//   %d %i         signed integers      %u %x %X %o   unsigned integers
//   %f %e %g %E %G %a   reals          %s            text (a null C string prints "(null)")
//   %c            an integer as one byte      %%   a literal percent sign
// Flags, width and precision ("%0.6X", "%-8s", "%.1f", "%5@") are honoured; length modifiers
// (l, ll, h, hh, z, q, j, t, L) are accepted and ignored since the argument carries its type.
// Signed and unsigned integers mix freely; integers and reals do not (C would print garbage).
// A conversion whose argument has the wrong kind prints a placeholder naming what it got
// ("%!d(real)", "%!f(object)"), a missing argument prints "%!d(missing)", an unknown conversion
// or a '*' width prints "%!*(unsupported)"-style text; extra arguments are ignored.
std::string formatWithArguments(std::string_view format, std::span<const FormatArgument> arguments);

template<typename... Args>
std::string format(std::string_view fmt, const Args&... args)
{
    const std::array<FormatArgument, sizeof...(Args)> arguments { FormatArgument(args)... };
    return formatWithArguments(fmt, arguments);
}

}
