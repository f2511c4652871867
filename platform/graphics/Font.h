#pragma once

// Fonts for text drawn with Pango. Sizes are in points: Pango runs at 72 dots per inch here, so a
// 14-point font is 14 units of user space tall, like UIFont's size. DejaVu Sans stands in for the
// device's system font, in regular and bold.

#include <graphics/Geometry.h>

#include <string>

namespace graphics {

inline constexpr const char* kSystemFontFamily = "DejaVu Sans";

struct Font {
    std::string family { kSystemFontFamily };
    CGFloat pointSize { 12 };
    bool bold { false };

    static Font systemFont(CGFloat size) { return { kSystemFontFamily, size, false }; }
    static Font boldSystemFont(CGFloat size) { return { kSystemFontFamily, size, true }; }

    friend bool operator==(const Font&, const Font&) = default;
};

// As UIFont reports them: the ascender above the baseline (positive), the descender below it
// (negative), and the line height (ascender - descender).
struct FontMetrics {
    CGFloat ascender { 0 };
    CGFloat descender { 0 };
    CGFloat lineHeight { 0 };
};

FontMetrics fontMetrics(const Font& font);

} // namespace graphics
