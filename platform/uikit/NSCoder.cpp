#include <uikit/NSCoding.h>

namespace uikit {

void NSCoder::encodeRect(graphics::CGRect rect, std::string_view key)
{
    std::string base(key);
    encodeDouble(rect.origin.x, base + ".x");
    encodeDouble(rect.origin.y, base + ".y");
    encodeDouble(rect.size.width, base + ".width");
    encodeDouble(rect.size.height, base + ".height");
}

void NSCoder::encodePoint(graphics::CGPoint point, std::string_view key)
{
    std::string base(key);
    encodeDouble(point.x, base + ".x");
    encodeDouble(point.y, base + ".y");
}

void NSCoder::encodeSize(graphics::CGSize size, std::string_view key)
{
    std::string base(key);
    encodeDouble(size.width, base + ".width");
    encodeDouble(size.height, base + ".height");
}

graphics::CGRect NSCoder::decodeRect(std::string_view key) const
{
    std::string base(key);
    return { { static_cast<graphics::CGFloat>(decodeDouble(base + ".x")), static_cast<graphics::CGFloat>(decodeDouble(base + ".y")) },
        { static_cast<graphics::CGFloat>(decodeDouble(base + ".width")), static_cast<graphics::CGFloat>(decodeDouble(base + ".height")) } };
}

graphics::CGPoint NSCoder::decodePoint(std::string_view key) const
{
    std::string base(key);
    return { static_cast<graphics::CGFloat>(decodeDouble(base + ".x")), static_cast<graphics::CGFloat>(decodeDouble(base + ".y")) };
}

graphics::CGSize NSCoder::decodeSize(std::string_view key) const
{
    std::string base(key);
    return { static_cast<graphics::CGFloat>(decodeDouble(base + ".width")), static_cast<graphics::CGFloat>(decodeDouble(base + ".height")) };
}

}
