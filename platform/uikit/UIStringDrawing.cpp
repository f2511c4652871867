#include <uikit/UIStringDrawing.h>

#include <graphics/TextLayout.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>

namespace uikit {

namespace {

graphics::Font toFont(const UIFont& font)
{
    return { font.familyName(), font.pointSize(), font.isBold() };
}

graphics::LineBreakMode toMode(UILineBreakMode mode)
{
    return static_cast<graphics::LineBreakMode>(mode);
}

graphics::TextAlignment toAlignment(UITextAlignment alignment)
{
    return static_cast<graphics::TextAlignment>(alignment);
}

}

CGSize drawAtPoint(std::string_view text, CGPoint point, const UIFont& font)
{
    auto context = UIGraphicsGetCurrentContext();
    if (!context)
        return sizeWithFont(text, font);
    return graphics::drawText(context, text, point, toFont(font));
}

CGSize drawAtPointForWidth(std::string_view text, CGPoint point, CGFloat width, const UIFont& font, UILineBreakMode lineBreakMode)
{
    auto context = UIGraphicsGetCurrentContext();
    if (!context)
        return sizeWithFontForWidth(text, font, width, lineBreakMode);
    return graphics::drawText(context, text, point, width, toFont(font), toMode(lineBreakMode));
}

CGSize drawInRect(std::string_view text, CGRect rect, const UIFont& font, UILineBreakMode lineBreakMode, UITextAlignment alignment)
{
    auto context = UIGraphicsGetCurrentContext();
    if (!context)
        return sizeWithFontConstrainedToSize(text, font, rect.size, lineBreakMode);
    return graphics::drawText(context, text, rect, toFont(font), toMode(lineBreakMode), toAlignment(alignment));
}

CGSize sizeWithFont(std::string_view text, const UIFont& font)
{
    return graphics::sizeOfText(text, toFont(font));
}

CGSize sizeWithFontForWidth(std::string_view text, const UIFont& font, CGFloat width, UILineBreakMode lineBreakMode)
{
    return graphics::sizeOfText(text, toFont(font), width, toMode(lineBreakMode));
}

CGSize sizeWithFontConstrainedToSize(std::string_view text, const UIFont& font, CGSize size, UILineBreakMode lineBreakMode)
{
    return graphics::sizeOfText(text, toFont(font), size, toMode(lineBreakMode));
}

}
