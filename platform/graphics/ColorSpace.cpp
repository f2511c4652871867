#include <graphics/ColorSpace.h>

namespace graphics {

std::size_t CGColorSpace::numberOfComponents() const
{
    switch (m_model) {
    case kCGColorSpaceModelMonochrome:
        return 1;
    case kCGColorSpaceModelRGB:
        return 3;
    case kCGColorSpaceModelCMYK:
        return 4;
    default:
        return 0;
    }
}

CGColorSpace CGColorSpaceCreateDeviceRGB() { return CGColorSpace(kCGColorSpaceModelRGB); }
CGColorSpace CGColorSpaceCreateDeviceGray() { return CGColorSpace(kCGColorSpaceModelMonochrome); }
CGColorSpace CGColorSpaceCreateDeviceCMYK() { return CGColorSpace(kCGColorSpaceModelCMYK); }

CGColorSpaceModel CGColorSpaceGetModel(const CGColorSpace& space) { return space.model(); }

std::size_t CGColorSpaceGetNumberOfComponents(const CGColorSpace& space)
{
    return space.numberOfComponents();
}

} // namespace graphics
