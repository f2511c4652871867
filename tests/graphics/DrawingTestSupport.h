#pragma once

// Small helpers for the graphics tests: reading pixels back from a context.

#include <graphics/Context.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

namespace graphics {

inline std::ostream& operator<<(std::ostream& out, const PixelRGBA& p)
{
    return out << "rgba(" << int(p.red) << ", " << int(p.green) << ", " << int(p.blue) << ", " << int(p.alpha) << ")";
}

inline std::ostream& operator<<(std::ostream& out, const CGRect& r)
{
    return out << "{{" << r.origin.x << ", " << r.origin.y << "}, {" << r.size.width << ", " << r.size.height << "}}";
}

inline std::ostream& operator<<(std::ostream& out, const CGPoint& p)
{
    return out << "{" << p.x << ", " << p.y << "}";
}

// Pixel (x, y) of the context's bitmap as it is now.
inline PixelRGBA pixel(const CGContext& c, int x, int y)
{
    return CGBitmapContextCreateImage(c).pixelAt(x, y);
}

// Each channel within `tolerance` of the expected value.
inline ::testing::AssertionResult near(PixelRGBA actual, PixelRGBA expected, int tolerance = 2)
{
    auto close = [&](int a, int b) { return std::abs(a - b) <= tolerance; };
    if (close(actual.red, expected.red) && close(actual.green, expected.green) && close(actual.blue, expected.blue)
        && close(actual.alpha, expected.alpha))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " is not within " << tolerance << " of " << expected;
}

inline constexpr PixelRGBA kClear { 0, 0, 0, 0 };
inline constexpr PixelRGBA kOpaqueBlack { 0, 0, 0, 255 };
inline constexpr PixelRGBA kOpaqueWhite { 255, 255, 255, 255 };
inline constexpr PixelRGBA kOpaqueRed { 255, 0, 0, 255 };
inline constexpr PixelRGBA kOpaqueBlue { 0, 0, 255, 255 };

} // namespace graphics
