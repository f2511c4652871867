#include <uikit/UIColor.h>

#include <uikit/UIGraphics.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace uikit {

TORVANE_DEFINE_CLASS(UIColor)

namespace {

CGFloat unit(CGFloat value)
{
    if (std::isnan(value))
        return 0;
    return std::clamp(value, 0.0f, 1.0f);
}

}

runtime::Ref<UIColor> UIColor::colorWithCGColor(graphics::CGColor color)
{
    return runtime::adoptRef(*new UIColor(std::move(color)));
}

runtime::Ref<UIColor> UIColor::colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    return colorWithCGColor(graphics::CGColorCreateRGB(unit(red), unit(green), unit(blue), unit(alpha)));
}

runtime::Ref<UIColor> UIColor::colorWithWhite(CGFloat white, CGFloat alpha)
{
    return colorWithCGColor(graphics::CGColorCreateGray(unit(white), unit(alpha)));
}

runtime::Ref<UIColor> UIColor::colorWithHue(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha)
{
    // The standard HSB → RGB conversion over six sectors of the colour wheel.
    CGFloat h = unit(hue), s = unit(saturation), v = unit(brightness);
    if (s == 0)
        return colorWithRed(v, v, v, alpha);
    CGFloat sector = h * 6;
    if (sector >= 6)
        sector = 0;
    int index = static_cast<int>(std::floor(sector));
    CGFloat fraction = sector - static_cast<CGFloat>(index);
    CGFloat p = v * (1 - s);
    CGFloat q = v * (1 - s * fraction);
    CGFloat t = v * (1 - s * (1 - fraction));
    switch (index) {
    case 0: return colorWithRed(v, t, p, alpha);
    case 1: return colorWithRed(q, v, p, alpha);
    case 2: return colorWithRed(p, v, t, alpha);
    case 3: return colorWithRed(p, q, v, alpha);
    case 4: return colorWithRed(t, p, v, alpha);
    default: return colorWithRed(v, p, q, alpha);
    }
}

runtime::Ref<UIColor> UIColor::blackColor() { return colorWithWhite(0, 1); }
runtime::Ref<UIColor> UIColor::darkGrayColor() { return colorWithWhite(1.0f / 3, 1); }
runtime::Ref<UIColor> UIColor::lightGrayColor() { return colorWithWhite(2.0f / 3, 1); }
runtime::Ref<UIColor> UIColor::whiteColor() { return colorWithWhite(1, 1); }
runtime::Ref<UIColor> UIColor::grayColor() { return colorWithWhite(0.5f, 1); }
runtime::Ref<UIColor> UIColor::redColor() { return colorWithRed(1, 0, 0, 1); }
runtime::Ref<UIColor> UIColor::greenColor() { return colorWithRed(0, 1, 0, 1); }
runtime::Ref<UIColor> UIColor::blueColor() { return colorWithRed(0, 0, 1, 1); }
runtime::Ref<UIColor> UIColor::yellowColor() { return colorWithRed(1, 1, 0, 1); }
runtime::Ref<UIColor> UIColor::orangeColor() { return colorWithRed(1, 0.5f, 0, 1); }
runtime::Ref<UIColor> UIColor::clearColor() { return colorWithWhite(0, 0); }

runtime::Ref<UIColor> UIColor::colorWithAlphaComponent(CGFloat alpha) const
{
    return colorWithCGColor(graphics::CGColorCreateCopyWithAlpha(m_color, unit(alpha)));
}

bool UIColor::getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const
{
    auto model = m_color.colorSpace().model();
    if (model != graphics::kCGColorSpaceModelRGB && model != graphics::kCGColorSpaceModelMonochrome)
        return false;
    auto rgba = m_color.rgba();
    if (red)
        *red = static_cast<CGFloat>(rgba.red);
    if (green)
        *green = static_cast<CGFloat>(rgba.green);
    if (blue)
        *blue = static_cast<CGFloat>(rgba.blue);
    if (alpha)
        *alpha = static_cast<CGFloat>(rgba.alpha);
    return true;
}

bool UIColor::getWhite(CGFloat* white, CGFloat* alpha) const
{
    if (m_color.colorSpace().model() != graphics::kCGColorSpaceModelMonochrome)
        return false;
    if (white)
        *white = m_color.components()[0];
    if (alpha)
        *alpha = m_color.alpha();
    return true;
}

void UIColor::set() const
{
    setFill();
    setStroke();
}

void UIColor::setFill() const
{
    if (auto context = UIGraphicsGetCurrentContext())
        graphics::CGContextSetFillColorWithColor(context, m_color);
}

void UIColor::setStroke() const
{
    if (auto context = UIGraphicsGetCurrentContext())
        graphics::CGContextSetStrokeColorWithColor(context, m_color);
}

std::string UIColor::description() const
{
    std::string text;
    switch (m_color.colorSpace().model()) {
    case graphics::kCGColorSpaceModelMonochrome:
        text = "UIDeviceWhiteColorSpace";
        break;
    case graphics::kCGColorSpaceModelRGB:
        text = "UIDeviceRGBColorSpace";
        break;
    default:
        text = "UIColorSpace";
        break;
    }
    for (CGFloat component : m_color.components()) {
        char number[32];
        std::snprintf(number, sizeof number, " %g", static_cast<double>(component));
        text += number;
    }
    return text;
}

bool UIColor::isEqual(const runtime::Object* other) const
{
    auto color = runtime::dynamicCast<UIColor>(other);
    return color && graphics::CGColorEqualToColor(m_color, color->m_color);
}

size_t UIColor::hash() const
{
    size_t value = static_cast<size_t>(m_color.colorSpace().model());
    for (CGFloat component : m_color.components())
        value = value * 31 + std::hash<float>()(component);
    return value;
}

}

namespace uikit {

void UIColor::encodeWithCoder(NSCoder& coder) const
{
    coder.encodeInt(m_color.colorSpace().model(), "UIColorSpaceModel");
    auto& components = m_color.components();
    coder.encodeInt(static_cast<int64_t>(components.size()), "UIComponentCount");
    for (size_t i = 0; i < components.size(); ++i)
        coder.encodeDouble(components[i], "UIComponent" + std::to_string(i));
}

namespace {

runtime::RefPtr<runtime::Object> decodeColor(NSCoder& coder)
{
    graphics::CGColorSpace space;
    switch (coder.decodeInt("UIColorSpaceModel")) {
    case graphics::kCGColorSpaceModelMonochrome:
        space = graphics::CGColorSpaceCreateDeviceGray();
        break;
    case graphics::kCGColorSpaceModelRGB:
        space = graphics::CGColorSpaceCreateDeviceRGB();
        break;
    case graphics::kCGColorSpaceModelCMYK:
        space = graphics::CGColorSpaceCreateDeviceCMYK();
        break;
    default:
        return nullptr;
    }
    // The count must match the space, or the colour would read past its components.
    size_t count = space.numberOfComponents() + 1;
    if (coder.decodeInt("UIComponentCount") != static_cast<int64_t>(count))
        return nullptr;
    std::vector<CGFloat> components;
    for (size_t i = 0; i < count; ++i)
        components.push_back(static_cast<CGFloat>(coder.decodeDouble("UIComponent" + std::to_string(i))));
    return UIColor::colorWithCGColor(graphics::CGColorCreate(space, components.data()));
}

[[maybe_unused]] const bool colorArchivable = ArchivableClasses::addDecoder(UIColor::staticClass(), decodeColor);

}

}
