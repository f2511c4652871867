#include <foundation/NSArray.h>
#include <foundation/NSString.h>
#include <foundation/UnicodeText.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace foundation {

using runtime::Ref;

TORVANE_DEFINE_CLASS(NSString)
TORVANE_DEFINE_CLASS(NSMutableString)

Ref<NSString> NSString::create(std::string text)
{
    return adoptRef(*new NSString(std::move(text)));
}

Ref<NSMutableString> NSMutableString::create(std::string text)
{
    return adoptRef(*new NSMutableString(std::move(text)));
}

size_t NSString::length() const
{
    size_t units = 0;
    for (size_t offset = 0; offset < m_string.size();)
        units += unicode::utf16Units(unicode::decodeNext(m_string, offset));
    return units;
}

// Offset of the first character that is not white space.
static size_t skipWhiteSpace(std::string_view text)
{
    size_t offset = 0;
    while (offset < text.size()) {
        size_t next = offset;
        if (!unicode::isWhiteSpace(unicode::decodeNext(text, next)))
            break;
        offset = next;
    }
    return offset;
}

bool NSString::boolValue() const
{
    std::string_view text = m_string;
    size_t i = skipWhiteSpace(text);
    if (i < text.size()) {
        const char c = text[i];
        if (c == 'Y' || c == 'y' || c == 'T' || c == 't')
            return true;
        if (c == '+' || c == '-')
            ++i;
    }
    while (i < text.size() && text[i] == '0')
        ++i;
    return i < text.size() && text[i] >= '1' && text[i] <= '9';
}

// Reads [sign]digits after white space, saturating at the limits.
static int64_t scanInteger(std::string_view text, int64_t minimum, int64_t maximum)
{
    size_t i = skipWhiteSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate toward the sign's own limit so INT64_MIN is reachable without overflow.
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (negative) {
            if (value < (minimum + digit) / 10)
                return minimum;
            value = value * 10 - digit;
        } else {
            if (value > (maximum - digit) / 10)
                return maximum;
            value = value * 10 + digit;
        }
    }
    return value;
}

int NSString::intValue() const
{
    return static_cast<int>(scanInteger(m_string, INT_MIN, INT_MAX));
}

int64_t NSString::integerValue() const
{
    return scanInteger(m_string, INT64_MIN, INT64_MAX);
}

double NSString::doubleValue() const
{
    std::string_view text = m_string;
    size_t i = skipWhiteSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    auto isDigit = [&](size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
    const size_t start = i;
    size_t digits = 0;
    while (isDigit(i))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (isDigit(i))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    // An exponent counts only when digits follow it: "2e" is 2, "2e3" is 2000.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t exponent = i + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        if (isDigit(exponent)) {
            i = exponent;
            while (isDigit(i))
                ++i;
        }
    }
    double value = 0;
    const auto result = std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: strtod's HUGE_VAL / 0 (the text has no locale-
        // dependent characters left that matter for the magnitude).
        value = std::strtod(std::string(text.substr(start, i - start)).c_str(), nullptr);
    } else if (result.ec != std::errc()) {
        return 0;
    }
    return negative ? -value : value;
}

Ref<NSString> NSString::substringToIndex(size_t index) const
{
    size_t units = 0;
    size_t offset = 0;
    while (offset < m_string.size()) {
        size_t next = offset;
        const size_t width = unicode::utf16Units(unicode::decodeNext(m_string, next));
        if (units + width > index)
            break;
        units += width;
        offset = next;
    }
    return create(m_string.substr(0, offset));
}

Ref<NSString> NSString::capitalizedString() const
{
    std::string result;
    result.reserve(m_string.size());
    bool startOfWord = true;
    for (size_t offset = 0; offset < m_string.size();) {
        const size_t start = offset;
        const char32_t c = unicode::decodeNext(m_string, offset);
        if (c == 0xFFFD && offset == start + 1 && static_cast<uint8_t>(m_string[start]) >= 0x80) {
            // Keep bytes that are not UTF-8 as they are.
            result += m_string[start];
            startOfWord = false;
            continue;
        }
        if (unicode::isWhiteSpace(c)) {
            unicode::appendUTF8(result, c);
            startOfWord = true;
            continue;
        }
        unicode::appendUTF8(result, startOfWord ? unicode::toUpper(c) : unicode::toLower(c));
        startOfWord = false;
    }
    return create(std::move(result));
}

Ref<NSString> NSString::stringByAppendingString(std::string_view tail) const
{
    std::string result = m_string;
    result.append(tail);
    return create(std::move(result));
}

// Collapses repeated slashes and drops a trailing one (but keeps a lone "/").
static std::string standardizeSlashes(std::string_view path)
{
    std::string result;
    result.reserve(path.size());
    for (char c : path) {
        if (c == '/' && !result.empty() && result.back() == '/')
            continue;
        result += c;
    }
    if (result.size() > 1 && result.back() == '/')
        result.pop_back();
    return result;
}

Ref<NSString> NSString::stringByAppendingPathComponent(std::string_view component) const
{
    if (m_string.empty())
        return create(standardizeSlashes(component));
    if (component.empty())
        return create(standardizeSlashes(m_string));
    return create(standardizeSlashes(m_string + "/" + std::string(component)));
}

Ref<NSString> NSString::lastPathComponent() const
{
    const std::string path = standardizeSlashes(m_string);
    if (path == "/")
        return create(path);
    const size_t slash = path.rfind('/');
    return create(slash == std::string::npos ? path : path.substr(slash + 1));
}

Ref<NSString> NSString::stringByDeletingLastPathComponent() const
{
    const std::string path = standardizeSlashes(m_string);
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return create({});
    if (slash == 0)
        return create("/");
    return create(path.substr(0, slash));
}

Ref<NSString> NSString::pathExtension() const
{
    const std::string name = lastPathComponent()->string();
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || name == "/")
        return create({});
    return create(name.substr(dot + 1));
}

Ref<NSArray> NSString::componentsSeparatedByString(std::string_view separator) const
{
    NSArray::Storage parts;
    if (separator.empty()) {
        parts.push_back(create(m_string));
        return NSArray::create(std::move(parts));
    }
    size_t start = 0;
    while (true) {
        const size_t found = m_string.find(separator, start);
        if (found == std::string::npos) {
            parts.push_back(create(m_string.substr(start)));
            break;
        }
        parts.push_back(create(m_string.substr(start, found - start)));
        start = found + separator.size();
    }
    return NSArray::create(std::move(parts));
}

static NSComparisonResult orderOf(auto a, auto b)
{
    if (a < b)
        return NSOrderedAscending;
    if (b < a)
        return NSOrderedDescending;
    return NSOrderedSame;
}

static std::u16string toUTF16(std::string_view text)
{
    std::u16string units;
    units.reserve(text.size());
    for (size_t offset = 0; offset < text.size();) {
        const char32_t c = unicode::decodeNext(text, offset);
        if (c > 0xFFFF) {
            units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(c);
        }
    }
    return units;
}

NSComparisonResult NSString::compare(const NSString& other) const
{
    return orderOf(toUTF16(m_string), toUTF16(other.m_string));
}

namespace {

// The three comparison levels of the shared collation for one string.
struct CollationKey {
    std::u32string base;    // unaccented lower case
    std::u32string accent;  // lower case with accents
    std::u32string caseRank; // 0 lower (or caseless), 1 upper

    explicit CollationKey(std::string_view text)
    {
        for (size_t offset = 0; offset < text.size();) {
            const char32_t c = unicode::decodeNext(text, offset);
            const char32_t lower = unicode::toLower(c);
            base += unicode::baseLetter(c);
            accent += lower;
            caseRank += lower == c ? U'0' : U'1';
        }
    }
};

}

NSComparisonResult NSString::localizedCompare(const NSString& other) const
{
    const CollationKey a(m_string), b(other.m_string);
    if (auto order = orderOf(a.base, b.base))
        return order;
    if (auto order = orderOf(a.accent, b.accent))
        return order;
    return orderOf(a.caseRank, b.caseRank);
}

NSComparisonResult NSString::localizedCaseInsensitiveCompare(const NSString& other) const
{
    const CollationKey a(m_string), b(other.m_string);
    if (auto order = orderOf(a.base, b.base))
        return order;
    return orderOf(a.accent, b.accent);
}

Ref<NSString> NSString::copy() const
{
    return create(m_string);
}

Ref<NSMutableString> NSString::mutableCopy() const
{
    return NSMutableString::create(m_string);
}

bool NSString::isEqual(const runtime::Object* other) const
{
    auto* string = runtime::dynamicCast<NSString>(other);
    return string && string->m_string == m_string;
}

size_t NSString::hash() const
{
    return std::hash<std::string>()(m_string);
}

}
