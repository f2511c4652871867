#include <graphics/Color.h>

#include <algorithm>

namespace graphics {

namespace {

double clampUnit(double value) { return std::clamp(value, 0.0, 1.0); }

const CGColorSpace& nullSpace()
{
    static const CGColorSpace space;
    return space;
}

const std::vector<CGFloat>& noComponents()
{
    static const std::vector<CGFloat> components;
    return components;
}

} // namespace

const CGColorSpace& CGColor::colorSpace() const { return m_data ? m_data->space : nullSpace(); }
const std::vector<CGFloat>& CGColor::components() const { return m_data ? m_data->components : noComponents(); }
CGFloat CGColor::alpha() const { return m_data ? m_data->components.back() : 0; }

ColorRGBA CGColor::rgba() const
{
    if (!m_data)
        return {};
    return rgbaFromComponents(m_data->space, m_data->components.data());
}

ColorRGBA rgbaFromComponents(const CGColorSpace& space, const CGFloat* c)
{
    if (!c)
        return {};
    switch (space.model()) {
    case kCGColorSpaceModelMonochrome: {
        double white = clampUnit(c[0]);
        return { white, white, white, clampUnit(c[1]) };
    }
    case kCGColorSpaceModelRGB:
        return { clampUnit(c[0]), clampUnit(c[1]), clampUnit(c[2]), clampUnit(c[3]) };
    case kCGColorSpaceModelCMYK: {
        double k = clampUnit(c[3]);
        return { (1 - clampUnit(c[0])) * (1 - k), (1 - clampUnit(c[1])) * (1 - k), (1 - clampUnit(c[2])) * (1 - k),
            clampUnit(c[4]) };
    }
    default:
        return {};
    }
}

CGColor CGColorCreate(const CGColorSpace& space, const CGFloat* components)
{
    if (!space || !components)
        return {};
    std::size_t count = space.numberOfComponents() + 1;
    return CGColor(std::make_shared<const CGColor::Data>(
        CGColor::Data { space, std::vector<CGFloat>(components, components + count) }));
}

CGColor CGColorCreateRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    const CGFloat components[] { red, green, blue, alpha };
    return CGColorCreate(CGColorSpaceCreateDeviceRGB(), components);
}

CGColor CGColorCreateGray(CGFloat white, CGFloat alpha)
{
    const CGFloat components[] { white, alpha };
    return CGColorCreate(CGColorSpaceCreateDeviceGray(), components);
}

const CGFloat* CGColorGetComponents(const CGColor& color)
{
    return color ? color.components().data() : nullptr;
}

std::size_t CGColorGetNumberOfComponents(const CGColor& color) { return color.components().size(); }
CGFloat CGColorGetAlpha(const CGColor& color) { return color.alpha(); }
CGColorSpace CGColorGetColorSpace(const CGColor& color) { return color.colorSpace(); }

CGColor CGColorCreateCopyWithAlpha(const CGColor& color, CGFloat alpha)
{
    if (!color)
        return {};
    std::vector<CGFloat> components = color.components();
    components.back() = std::clamp<CGFloat>(alpha, 0, 1);
    return CGColorCreate(color.colorSpace(), components.data());
}

bool CGColorEqualToColor(const CGColor& a, const CGColor& b)
{
    if (!a || !b)
        return !a && !b;
    return a.colorSpace() == b.colorSpace() && a.components() == b.components();
}

} // namespace graphics
