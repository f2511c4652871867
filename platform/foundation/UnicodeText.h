#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace foundation::unicode {

// Decodes one UTF-8 sequence at `offset`, advancing it. An invalid or truncated sequence yields
// its first byte as U+FFFD, consuming one byte, so every byte is accounted for exactly once.
char32_t decodeNext(std::string_view text, size_t& offset);
void appendUTF8(std::string& out, char32_t codePoint);
// Is every byte part of a well-formed UTF-8 sequence (no overlong forms, no surrogates)?
bool isValidUTF8(std::string_view text);

// Number of UTF-16 units the code point takes (2 beyond the Basic Multilingual Plane).
inline size_t utf16Units(char32_t codePoint) { return codePoint > 0xFFFF ? 2 : 1; }

// Locale-free simple case mapping over ASCII, Latin-1, Latin Extended-A, basic Greek and
// Cyrillic; other code points map to themselves.
char32_t toUpper(char32_t codePoint);
char32_t toLower(char32_t codePoint);

// The unaccented lower-case letter of a Latin-1 letter ('É' -> 'e'); others unchanged except for
// lower-casing.
char32_t baseLetter(char32_t codePoint);

bool isWhiteSpace(char32_t codePoint);

}
