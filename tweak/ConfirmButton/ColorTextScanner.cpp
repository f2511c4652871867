#include "ColorTextScanner.h"

#include <cstdlib>
#include <limits>
#include <string>

namespace tweak::toolkit {

namespace {

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}

void ColorTextScanner::skipWhiteSpace()
{
    while (m_position < m_text.size() && isWhiteSpace(m_text[m_position]))
        ++m_position;
}

bool ColorTextScanner::isDigitAt(size_t index) const
{
    return index < m_text.size() && m_text[index] >= '0' && m_text[index] <= '9';
}

std::optional<uint32_t> ColorTextScanner::scanHexInt()
{
    skipWhiteSpace();
    size_t index = m_position;
    // The prefix only counts when a digit follows it; "0xZ" reads the lone 0.
    if (index + 2 < m_text.size() && m_text[index] == '0' && (m_text[index + 1] == 'x' || m_text[index + 1] == 'X')
        && hexDigitValue(m_text[index + 2]) >= 0)
        index += 2;
    if (index >= m_text.size() || hexDigitValue(m_text[index]) < 0)
        return std::nullopt;
    uint64_t value = 0;
    bool overflowed = false;
    for (; index < m_text.size() && hexDigitValue(m_text[index]) >= 0; ++index) {
        value = value * 16 + static_cast<uint64_t>(hexDigitValue(m_text[index]));
        if (value > std::numeric_limits<uint32_t>::max()) {
            overflowed = true;
            value = std::numeric_limits<uint32_t>::max();
        }
    }
    m_position = index;
    return overflowed ? std::numeric_limits<uint32_t>::max() : static_cast<uint32_t>(value);
}

std::optional<float> ColorTextScanner::scanFloat()
{
    skipWhiteSpace();
    size_t index = m_position;
    if (index < m_text.size() && (m_text[index] == '+' || m_text[index] == '-'))
        ++index;
    bool sawDigit = false;
    while (isDigitAt(index)) {
        ++index;
        sawDigit = true;
    }
    if (index < m_text.size() && m_text[index] == '.') {
        ++index;
        while (isDigitAt(index)) {
            ++index;
            sawDigit = true;
        }
    }
    if (!sawDigit)
        return std::nullopt;
    // An exponent only counts when it has digits; "1e" reads as 1 followed by "e".
    if (index < m_text.size() && (m_text[index] == 'e' || m_text[index] == 'E')) {
        size_t exponent = index + 1;
        if (exponent < m_text.size() && (m_text[exponent] == '+' || m_text[exponent] == '-'))
            ++exponent;
        if (isDigitAt(exponent)) {
            while (isDigitAt(exponent))
                ++exponent;
            index = exponent;
        }
    }
    std::string number(m_text.substr(m_position, index - m_position));
    m_position = index;
    return std::strtof(number.c_str(), nullptr);
}

bool ColorTextScanner::scanCharacter(char expected)
{
    skipWhiteSpace();
    if (m_position >= m_text.size() || m_text[m_position] != expected)
        return false;
    ++m_position;
    return true;
}

bool ColorTextScanner::isAtEnd()
{
    skipWhiteSpace();
    return m_position >= m_text.size();
}

}
