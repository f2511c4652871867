#include <foundation/UnicodeText.h>

namespace foundation::unicode {

char32_t decodeNext(std::string_view text, size_t& offset)
{
    auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(offset);
    if (lead < 0x80) {
        ++offset;
        return lead;
    }
    size_t length;
    char32_t codePoint;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++offset;
        return 0xFFFD;
    }
    if (offset + length > text.size()) {
        ++offset;
        return 0xFFFD;
    }
    for (size_t i = 1; i < length; ++i) {
        const uint8_t continuation = byte(offset + i);
        if ((continuation & 0xC0) != 0x80) {
            ++offset;
            return 0xFFFD;
        }
        codePoint = (codePoint << 6) | (continuation & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        ++offset;
        return 0xFFFD;
    }
    offset += length;
    return codePoint;
}

bool isValidUTF8(std::string_view text)
{
    for (size_t offset = 0; offset < text.size();) {
        const size_t start = offset;
        // decodeNext turns every malformed sequence into U+FFFD taking one byte; a real U+FFFD
        // takes three.
        if (decodeNext(text, offset) == 0xFFFD && offset - start == 1)
            return false;
    }
    return true;
}

void appendUTF8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Latin Extended-A pairs upper/lower as even/odd code points, except in 0x0138-0x0148 and
// 0x0179-0x017E where the upper case is the odd one; 0x0138 (kra) and 0x0149 have no pair.
static bool isLatinExtendedAUpper(char32_t c)
{
    if (c == 0x0138 || c == 0x0149 || c == 0x017F)
        return false;
    if ((c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E))
        return c % 2 == 1;
    return c % 2 == 0;
}

char32_t toUpper(char32_t c)
{
    if (c >= 'a' && c <= 'z')
        return c - 32;
    if (c < 0x80)
        return c;
    if (c == 0x131) // dotless i
        return 'I';
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    if (c >= 0x100 && c <= 0x17E && c != 0x138 && c != 0x149 && !isLatinExtendedAUpper(c))
        return c - 1;
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2)
        return c - 0x20;
    if (c == 0x3C2) // final sigma
        return 0x3A3;
    if (c >= 0x430 && c <= 0x44F)
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    return c;
}

char32_t toLower(char32_t c)
{
    if (c >= 'A' && c <= 'Z')
        return c + 32;
    if (c < 0x80)
        return c;
    if (c == 0x130) // dotted capital I
        return 'i';
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    if (c == 0x178)
        return 0xFF;
    if (c >= 0x100 && c <= 0x17E && isLatinExtendedAUpper(c))
        return c + 1;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return c + 0x20;
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

char32_t baseLetter(char32_t c)
{
    c = toLower(c);
    if (c < 0xE0 || c > 0xFF)
        return c;
    // à..ÿ without their accents; æ, ð, ÷, þ and ß stay themselves.
    static constexpr char bases[] = "aaaaaa\0ceeeeiiii\0nooooo\0ouuuuy\0y";
    const char base = bases[c - 0xE0];
    return base ? static_cast<char32_t>(base) : c;
}

bool isWhiteSpace(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == 0x85 || c == 0xA0
        || c == 0x2028 || c == 0x2029 || c == 0x3000 || (c >= 0x2000 && c <= 0x200A);
}

}
