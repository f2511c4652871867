#pragma once

// Fonts for text drawn with Pango. Sizes are in points: Pango runs at 72 dots per inch here, so a
// 14-point font is 14 units of user space tall, like UIFont's size. Nimbus Sans, which has
// Helvetica's advance widths, stands in for the device's system font, in regular and bold, so text
// takes the width it takes on the device. Text is laid out with that font's files (and DejaVu Sans
// for characters it lacks) whatever else is installed; any other family falls back to it.

#include <graphics/Geometry.h>

#include <string>

namespace graphics {

inline constexpr const char* kSystemFontFamily = "Nimbus Sans";

struct Font {
    std::string family { kSystemFontFamily };
    CGFloat pointSize { 12 };
    bool bold { false };

    static Font systemFont(CGFloat size) { return { kSystemFontFamily, size, false }; }
    static Font boldSystemFont(CGFloat size) { return { kSystemFontFamily, size, true }; }

    friend bool operator==(const Font&, const Font&) = default;
};

// The device's system font's vertical metrics, in ems. Nimbus Sans matches Helvetica's widths but
// not its line box (its own is 1 em tall), so every line of text is given the device's: as tall as
// ascender + descender, with the baseline an ascender below its top.
inline constexpr CGFloat kDeviceAscender = 0.9199f;
inline constexpr CGFloat kDeviceDescender = 0.2466f;

// As UIFont reports them: the ascender above the baseline (positive), the descender below it
// (negative), and the line height (ascender - descender), from the device's metrics above.
struct FontMetrics {
    CGFloat ascender { 0 };
    CGFloat descender { 0 };
    CGFloat lineHeight { 0 };
};

FontMetrics fontMetrics(const Font& font);

} // namespace graphics
