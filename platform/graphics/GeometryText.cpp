#include <graphics/GeometryText.h>

#include <array>
#include <charconv>
#include <cstddef>

namespace graphics {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Can a number start at text[i]? A digit; a dot before a digit; a sign before either of those.
bool startsNumber(std::string_view text, std::size_t i)
{
    auto digitAt = [&](std::size_t j) { return j < text.size() && isDigit(text[j]); };
    char c = text[i];
    if (isDigit(c))
        return true;
    if (c == '.')
        return digitAt(i + 1);
    if (c == '+' || c == '-')
        return digitAt(i + 1) || (i + 1 < text.size() && text[i + 1] == '.' && digitAt(i + 2));
    return false;
}

// Reads the first `count` numbers of the text into `values`. False when there are fewer or one
// of them is out of range.
template<std::size_t count>
bool scanNumbers(std::string_view text, std::array<CGFloat, count>& values)
{
    std::size_t found = 0;
    std::size_t i = 0;
    while (i < text.size() && found < count) {
        if (!startsNumber(text, i)) {
            ++i;
            continue;
        }
        // from_chars takes no leading plus sign; the minus it handles itself.
        std::size_t begin = text[i] == '+' ? i + 1 : i;
        CGFloat value = 0;
        auto [end, error] = std::from_chars(text.data() + begin, text.data() + text.size(), value);
        if (error == std::errc::result_out_of_range)
            return false;
        if (error != std::errc()) {
            ++i;
            continue;
        }
        values[found++] = value;
        i = static_cast<std::size_t>(end - text.data());
    }
    return found == count;
}

std::string number(CGFloat value)
{
    if (value == 0)
        value = 0; // no "-0"
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc())
        return "0";
    return std::string(buffer, end);
}

} // namespace

CGRect CGRectFromString(std::string_view text)
{
    std::array<CGFloat, 4> v {};
    if (!scanNumbers(text, v))
        return CGRectZero;
    return CGRectMake(v[0], v[1], v[2], v[3]);
}

CGPoint CGPointFromString(std::string_view text)
{
    std::array<CGFloat, 2> v {};
    if (!scanNumbers(text, v))
        return CGPointZero;
    return CGPointMake(v[0], v[1]);
}

CGSize CGSizeFromString(std::string_view text)
{
    std::array<CGFloat, 2> v {};
    if (!scanNumbers(text, v))
        return CGSizeZero;
    return CGSizeMake(v[0], v[1]);
}

std::string CGPointToString(CGPoint point)
{
    return "{" + number(point.x) + ", " + number(point.y) + "}";
}

std::string CGSizeToString(CGSize size)
{
    return "{" + number(size.width) + ", " + number(size.height) + "}";
}

std::string CGRectToString(CGRect rect)
{
    return "{" + CGPointToString(rect.origin) + ", " + CGSizeToString(rect.size) + "}";
}

} // namespace graphics
