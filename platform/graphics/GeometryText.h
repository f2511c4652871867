#pragma once

// Text forms of points, sizes and rectangles: "{x, y}", "{w, h}" and "{{x, y}, {w, h}}".
//
// Reading is lenient, as the platform's own parser is: characters that cannot start a number are
// skipped, so braces and commas are optional, white space is free and a trailing "f" after a
// number ("{{-7.75f,-8.75f},{74.5f,76.0f}}") is ignored. A number is an optional sign, digits with
// an optional fraction and an optional exponent; a lone sign or dot is skipped like any other
// character. The first numbers found are used and any further text is ignored.
//
// Malformed text: when fewer numbers than needed are found (two for points and sizes, four for
// rectangles), or one of the numbers used does not fit a CGFloat ("1e999"), the result is the zero
// value (CGPointZero, CGSizeZero, CGRectZero), never a partly filled one.

#include <graphics/Geometry.h>

#include <string>
#include <string_view>

namespace graphics {

CGRect CGRectFromString(std::string_view text);
CGPoint CGPointFromString(std::string_view text);
CGSize CGSizeFromString(std::string_view text);

// Shortest text that reads back to the same values, e.g. "{{0, 0}, {320, 480}}", "{0.5, 2}".
std::string CGRectToString(CGRect rect);
std::string CGPointToString(CGPoint point);
std::string CGSizeToString(CGSize size);

} // namespace graphics
