#pragma once

// Reads numbers out of a colour text the way the platform's text scanner does: white space
// (spaces, tabs, line breaks) is skipped before every token, and a token that is not there leaves
// the position where it was.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tweak::toolkit {

class ColorTextScanner {
public:
    explicit ColorTextScanner(std::string_view text)
        : m_text(text)
    {
    }

    // Optional "0x"/"0X", then hex digits. A value past 32 bits reads as 0xFFFFFFFF (the digits
    // are still consumed), as the platform scanner does.
    std::optional<uint32_t> scanHexInt();
    // Decimal: optional sign, digits with an optional '.', optional exponent. At least one digit.
    std::optional<float> scanFloat();
    // True (and consumed) when the character comes next.
    bool scanCharacter(char expected);
    // Only white space is left.
    bool isAtEnd();

    size_t position() const { return m_position; }
    void setPosition(size_t position) { m_position = position; }

private:
    void skipWhiteSpace();
    bool isDigitAt(size_t index) const;

    std::string_view m_text;
    size_t m_position { 0 };
};

}
