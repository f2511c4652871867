#pragma once

// Gradients: colour stops in a colour space, drawn with CGContextDrawLinearGradient and
// CGContextDrawRadialGradient (Context.h). CGGradient is an immutable, reference-counted handle; a
// default-constructed handle is the null gradient, which draws nothing.

#include <graphics/Color.h>

#include <memory>
#include <vector>

namespace graphics {

struct GradientStop {
    CGFloat location { 0 };
    ColorRGBA color;
};

class CGGradient {
public:
    CGGradient() = default;

    explicit operator bool() const { return m_stops != nullptr; }
    // Stops in ascending location order (stable for equal locations).
    const std::vector<GradientStop>& stops() const;

private:
    friend CGGradient makeGradient(std::vector<GradientStop>);
    explicit CGGradient(std::shared_ptr<const std::vector<GradientStop>> stops)
        : m_stops(std::move(stops))
    {
    }

    std::shared_ptr<const std::vector<GradientStop>> m_stops;
};

using CGGradientRef = CGGradient;

// `components` holds `count` colours of numberOfComponents(space) + 1 values each. Without
// `locations` the stops are spread evenly from 0 to 1 (a single stop sits at 0). A null space, null
// components or a count of 0 give the null gradient.
CGGradient CGGradientCreateWithColorComponents(const CGColorSpace& space, const CGFloat* components,
    const CGFloat* locations, std::size_t count);
// Colours may be in any space; each is converted to device RGB. Null colours count as clear.
CGGradient CGGradientCreateWithColors(const CGColorSpace& space, const std::vector<CGColor>& colors,
    const CGFloat* locations);

} // namespace graphics
