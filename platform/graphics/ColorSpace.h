#pragma once

// Colour spaces. Only device spaces exist here; a space is identified by its model, so two device
// RGB spaces are the same space. CGColorSpace is a reference-counted handle: copies share one space,
// and a default-constructed handle is the null space (model kCGColorSpaceModelUnknown).

#include <cstddef>

namespace graphics {

enum CGColorSpaceModel : int {
    kCGColorSpaceModelUnknown = -1,
    kCGColorSpaceModelMonochrome = 0,
    kCGColorSpaceModelRGB = 1,
    kCGColorSpaceModelCMYK = 2,
    kCGColorSpaceModelLab = 3,
    kCGColorSpaceModelDeviceN = 4,
    kCGColorSpaceModelIndexed = 5,
    kCGColorSpaceModelPattern = 6,
};

class CGColorSpace {
public:
    CGColorSpace() = default;

    explicit operator bool() const { return m_model != kCGColorSpaceModelUnknown; }
    CGColorSpaceModel model() const { return m_model; }
    // Colour components without alpha: 1 for monochrome, 3 for RGB, 4 for CMYK, 0 for the null space.
    std::size_t numberOfComponents() const;

    friend bool operator==(const CGColorSpace&, const CGColorSpace&) = default;

private:
    friend CGColorSpace CGColorSpaceCreateDeviceRGB();
    friend CGColorSpace CGColorSpaceCreateDeviceGray();
    friend CGColorSpace CGColorSpaceCreateDeviceCMYK();
    explicit CGColorSpace(CGColorSpaceModel model)
        : m_model(model)
    {
    }

    // A device space carries nothing but its model, so the handle holds it by value.
    CGColorSpaceModel m_model { kCGColorSpaceModelUnknown };
};

using CGColorSpaceRef = CGColorSpace;

CGColorSpace CGColorSpaceCreateDeviceRGB();
CGColorSpace CGColorSpaceCreateDeviceGray();
// Colours in CMYK are drawn through a naive conversion (r = (1 - c)(1 - k), ...).
CGColorSpace CGColorSpaceCreateDeviceCMYK();
CGColorSpaceModel CGColorSpaceGetModel(const CGColorSpace& space);
std::size_t CGColorSpaceGetNumberOfComponents(const CGColorSpace& space);

} // namespace graphics
