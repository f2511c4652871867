#pragma once

// Colours: a colour space plus its components, alpha last (white, alpha for monochrome; red, green,
// blue, alpha for RGB; cyan, magenta, yellow, black, alpha for CMYK). CGColor is an immutable,
// reference-counted handle: copying it shares the components. A default-constructed handle is the
// null colour: no space, no components, alpha 0.
//
// Components are stored as given; values outside 0...1 are clamped only when drawing.

#include <graphics/ColorSpace.h>
#include <graphics/Geometry.h>

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace graphics {

// A colour ready for Cairo: unpremultiplied device RGB with alpha, each 0...1.
struct ColorRGBA {
    double red { 0 };
    double green { 0 };
    double blue { 0 };
    double alpha { 0 };
    friend bool operator==(const ColorRGBA&, const ColorRGBA&) = default;
};

class CGColor {
public:
    CGColor() = default;

    explicit operator bool() const { return m_data != nullptr; }
    const CGColorSpace& colorSpace() const;
    // Components including alpha.
    const std::vector<CGFloat>& components() const;
    CGFloat alpha() const;
    // The colour as device RGB, clamped to 0...1; the null colour is transparent black.
    ColorRGBA rgba() const;

private:
    friend CGColor CGColorCreate(const CGColorSpace&, const CGFloat*);
    struct Data {
        CGColorSpace space;
        std::vector<CGFloat> components;
    };
    explicit CGColor(std::shared_ptr<const Data> data)
        : m_data(std::move(data))
    {
    }

    std::shared_ptr<const Data> m_data;
};

using CGColorRef = CGColor;

// Reads numberOfComponents(space) + 1 values. A null space or null components give the null colour.
CGColor CGColorCreate(const CGColorSpace& space, const CGFloat* components);
// Convenience forms used throughout the platform.
CGColor CGColorCreateRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
CGColor CGColorCreateGray(CGFloat white, CGFloat alpha);

// Points into the colour's storage: valid as long as a handle to the colour lives. Null for the
// null colour.
const CGFloat* CGColorGetComponents(const CGColor& color);
std::size_t CGColorGetNumberOfComponents(const CGColor& color);
CGFloat CGColorGetAlpha(const CGColor& color);
CGColorSpace CGColorGetColorSpace(const CGColor& color);
// The same colour with another alpha, clamped to 0...1. The null colour stays null.
CGColor CGColorCreateCopyWithAlpha(const CGColor& color, CGFloat alpha);
// Same space and numerically equal components. Two null colours are equal; a null and a non-null
// colour are not.
bool CGColorEqualToColor(const CGColor& a, const CGColor& b);

// Device RGB of a colour space's components (alpha last), as used for drawing and gradients.
ColorRGBA rgbaFromComponents(const CGColorSpace& space, const CGFloat* components);

} // namespace graphics
