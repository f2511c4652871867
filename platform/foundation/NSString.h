#pragma once

#include <foundation/Format.h>
#include <foundation/Forward.h>
#include <runtime/Object.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace foundation {

enum NSComparisonResult : int {
    NSOrderedAscending = -1,
    NSOrderedSame = 0,
    NSOrderedDescending = 1,
};

// An immutable string, UTF-8 inside. Lengths and indexes count UTF-16 units as Foundation does
// (a character outside the Basic Multilingual Plane counts two); a byte that is not valid UTF-8
// counts as one unit.
class NSString : public runtime::Object {
    TORVANE_OBJECT(NSString, runtime::Object)
public:
    static runtime::Ref<NSString> create(std::string text = {});
    template<typename... Args>
    static runtime::Ref<NSString> stringWithFormat(std::string_view fmt, const Args&... args)
    {
        return create(format(fmt, args...));
    }

    const std::string& string() const { return m_string; }
    size_t length() const;
    bool isEqualToString(const NSString& other) const { return m_string == other.m_string; }
    bool isEqualToString(std::string_view other) const { return m_string == other; }

    // After leading white space: YES for Y, y, T or t; otherwise an optional '+' or '-' and any
    // zeros are skipped and the answer is YES for a digit 1-9. Trailing text is ignored, so
    // "ya" and "0123" are YES while "+y", "0+" and "NO" are NO.
    bool boolValue() const;
    // Leading white space, optional sign, decimal digits up to the first other character;
    // 0 without digits; clamped to INT_MIN/INT_MAX.
    int intValue() const;
    // Like intValue, clamped to the 64-bit range.
    int64_t integerValue() const;
    // A decimal number read like strtod in the C locale ("  -1.5e3xyz" is -1500) but without
    // hexadecimal, "inf" or "nan" forms; 0 without a number; overflow gives +/-HUGE_VAL.
    double doubleValue() const;
    float floatValue() const { return static_cast<float>(doubleValue()); }

    // The first `index` UTF-16 units. An index past the end gives the whole string (Foundation
    // would raise); an index inside a surrogate pair keeps the whole character out.
    runtime::Ref<NSString> substringToIndex(size_t index) const;
    // First letter of every word upper case, the rest lower case; words are separated by white
    // space. Case mapping covers ASCII, Latin-1, Latin Extended-A, basic Greek and Cyrillic and
    // is the same in every locale.
    runtime::Ref<NSString> capitalizedString() const;
    bool hasPrefix(std::string_view prefix) const { return m_string.starts_with(prefix); }
    bool hasSuffix(std::string_view suffix) const { return m_string.ends_with(suffix); }
    runtime::Ref<NSString> stringByAppendingString(std::string_view tail) const;

    // Path operations work on '/'-separated text as Foundation's do: repeated slashes collapse
    // and a trailing slash is dropped ("/tmp/" + "x" is "/tmp/x", lastPathComponent of "/tmp/"
    // is "tmp", of "/" is "/"; stringByDeletingLastPathComponent of "/tmp" is "/", of "x" is "").
    runtime::Ref<NSString> stringByAppendingPathComponent(std::string_view component) const;
    runtime::Ref<NSString> lastPathComponent() const;
    runtime::Ref<NSString> stringByDeletingLastPathComponent() const;
    // The text after the last '.' of the last component; "" when there is none or the only dot
    // starts the name (".plist" has no extension).
    runtime::Ref<NSString> pathExtension() const;

    // "a,,b" split at "," is ("a", "", "b"); an empty separator gives the whole string.
    runtime::Ref<NSArray> componentsSeparatedByString(std::string_view separator) const;

    // Literal order of UTF-16 units.
    NSComparisonResult compare(const NSString& other) const;
    // Locale-free collation shared by every process: letters compare by their base letter first
    // (case and Latin-1 accents ignored: "apple" < "Banana" < "cherry", "é" sorts with "e"),
    // then by accent (plain first), then by case (lower case first: "a" < "A" < "b"). Other
    // characters compare by code point; a prefix sorts first.
    NSComparisonResult localizedCompare(const NSString& other) const;
    // The same collation without the final case level: "a" and "A" are the same.
    NSComparisonResult localizedCaseInsensitiveCompare(const NSString& other) const;

    runtime::Ref<NSString> copy() const;
    runtime::Ref<NSMutableString> mutableCopy() const;

    std::string description() const override { return m_string; }
    bool isEqual(const runtime::Object* other) const override;
    size_t hash() const override;

protected:
    explicit NSString(std::string text)
        : m_string(std::move(text))
    {
    }

    std::string m_string;
};

// A string whose text can change; only what callers need.
class NSMutableString final : public NSString {
    TORVANE_OBJECT(NSMutableString, NSString)
public:
    static runtime::Ref<NSMutableString> create(std::string text = {});
    void appendString(std::string_view tail) { m_string.append(tail); }
    void setString(std::string text) { m_string = std::move(text); }

private:
    using NSString::NSString;
};

// Shorthand for a string literal, like @"text".
inline runtime::Ref<NSString> NSStr(std::string_view text) { return NSString::create(std::string(text)); }

}
