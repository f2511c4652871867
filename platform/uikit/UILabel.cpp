#include <uikit/UILabel.h>

#include <graphics/TextLayout.h>
#include <uikit/NSCoding.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace uikit {

TORVANE_DEFINE_CLASS(UILabel)
TORVANE_ARCHIVABLE_CLASS(UILabel, UILabel::create())

namespace {

graphics::Font toFont(const UIFont& font)
{
    return { font.familyName(), font.pointSize(), font.isBold() };
}

// The text laid out for a rectangle of `size`: one line cut to the width, or wrapped lines that
// fit the height (and the line limit).
graphics::TextLayout layoutText(const std::string& text, const UIFont& font, CGSize size, int lines, UILineBreakMode mode, UITextAlignment alignment)
{
    if (lines == 1)
        return graphics::TextLayout::singleLine(text, toFont(font), size.width, static_cast<graphics::LineBreakMode>(mode));
    return graphics::TextLayout::inBox(text, toFont(font), size, static_cast<graphics::LineBreakMode>(mode),
        static_cast<graphics::TextAlignment>(alignment), std::max(lines, 0));
}

}

runtime::Ref<UILabel> UILabel::create(CGRect frame)
{
    return runtime::adoptRef(*new UILabel(frame));
}

UILabel::UILabel(CGRect frame)
    : UIView(frame)
    , m_font(UIFont::systemFontOfSize(17))
    , m_textColor(UIColor::blackColor())
{
    setBackgroundColor(UIColor::whiteColor());
    setUserInteractionEnabled(false);
}

void UILabel::setText(std::string text)
{
    m_text = std::move(text);
    setNeedsDisplay();
}

void UILabel::setFont(runtime::Ref<UIFont> font)
{
    m_font = std::move(font);
    setNeedsDisplay();
}

void UILabel::setTextColor(runtime::Ref<UIColor> color)
{
    m_textColor = std::move(color);
    setNeedsDisplay();
}

void UILabel::setHighlightedTextColor(runtime::RefPtr<UIColor> color)
{
    m_highlightedTextColor = std::move(color);
    setNeedsDisplay();
}

void UILabel::setHighlighted(bool highlighted)
{
    m_highlighted = highlighted;
    setNeedsDisplay();
}

void UILabel::setEnabled(bool enabled)
{
    m_enabled = enabled;
    setNeedsDisplay();
}

void UILabel::setTextAlignment(UITextAlignment alignment)
{
    m_textAlignment = alignment;
    setNeedsDisplay();
}

void UILabel::setLineBreakMode(UILineBreakMode mode)
{
    m_lineBreakMode = mode;
    setNeedsDisplay();
}

void UILabel::setNumberOfLines(int lines)
{
    m_numberOfLines = std::max(lines, 0);
    setNeedsDisplay();
}

void UILabel::setShadowColor(runtime::RefPtr<UIColor> color)
{
    m_shadowColor = std::move(color);
    setNeedsDisplay();
}

void UILabel::setShadowOffset(CGSize offset)
{
    m_shadowOffset = offset;
    setNeedsDisplay();
}

void UILabel::setAdjustsFontSizeToFitWidth(bool adjusts)
{
    m_adjustsFontSizeToFitWidth = adjusts;
    setNeedsDisplay();
}

void UILabel::setMinimumFontSize(CGFloat size)
{
    m_minimumFontSize = std::max<CGFloat>(size, 0);
    setNeedsDisplay();
}

runtime::Ref<UIFont> UILabel::fontFittingWidth(CGFloat width) const
{
    if (!m_adjustsFontSizeToFitWidth || m_numberOfLines != 1 || m_text.empty() || width <= 0)
        return m_font;
    // A size below a few points draws nothing readable, whatever the minimum says.
    CGFloat smallest = std::max<CGFloat>(m_minimumFontSize, 4);
    runtime::Ref<UIFont> font = m_font;
    for (CGFloat size = m_font->pointSize(); size >= smallest; size -= 0.5f) {
        font = m_font->fontWithSize(size);
        if (graphics::sizeOfText(m_text, toFont(font)).width <= width)
            break;
    }
    return font;
}

CGRect UILabel::textRectForBounds(CGRect bounds, int numberOfLines) const
{
    if (m_text.empty())
        return { bounds.origin, { 0, 0 } };
    auto layout = layoutText(m_text, numberOfLines == 1 ? fontFittingWidth(bounds.size.width) : m_font, bounds.size, numberOfLines,
        m_lineBreakMode, m_textAlignment);
    CGSize size = layout.size();
    CGFloat x = bounds.origin.x;
    if (numberOfLines == 1) {
        if (m_textAlignment == UITextAlignmentCenter)
            x += (bounds.size.width - size.width) / 2;
        else if (m_textAlignment == UITextAlignmentRight)
            x += bounds.size.width - size.width;
    } else if (m_textAlignment == UITextAlignmentCenter) {
        x += (bounds.size.width - size.width) / 2;
    } else if (m_textAlignment == UITextAlignmentRight) {
        x += bounds.size.width - size.width;
    }
    CGFloat y = bounds.origin.y + (bounds.size.height - size.height) / 2;
    return { { x, y }, size };
}

void UILabel::drawTextInRect(CGRect rect)
{
    auto context = UIGraphicsGetCurrentContext();
    if (!context || m_text.empty())
        return;
    auto layout = layoutText(m_text, fontFittingWidth(rect.size.width), rect.size, m_numberOfLines, m_lineBreakMode, m_textAlignment);
    CGSize size = layout.size();
    // Wrapped layouts align their lines within the box themselves; a single line is placed here.
    CGFloat x = rect.origin.x;
    if (m_numberOfLines == 1) {
        if (m_textAlignment == UITextAlignmentCenter)
            x += std::floor((rect.size.width - size.width) / 2);
        else if (m_textAlignment == UITextAlignmentRight)
            x += rect.size.width - size.width;
    }
    CGFloat y = rect.origin.y + std::floor((rect.size.height - size.height) / 2);

    if (m_shadowColor && m_shadowColor->alpha() > 0) {
        graphics::CGContextSetFillColorWithColor(context, m_shadowColor->CGColor());
        layout.draw(context, { x + m_shadowOffset.width, y + m_shadowOffset.height });
    }
    UIColor& color = m_highlighted && m_highlightedTextColor ? *m_highlightedTextColor : m_textColor.get();
    graphics::CGContextSetFillColorWithColor(context, color.CGColor());
    layout.draw(context, { x, y });
}

void UILabel::drawRect(CGRect)
{
    drawTextInRect(bounds());
}

CGSize UILabel::sizeThatFits(CGSize size) const
{
    if (m_text.empty())
        return { 0, 0 };
    if (m_numberOfLines == 1)
        return graphics::sizeOfText(m_text, toFont(m_font));
    CGFloat width = size.width > 0 ? size.width : std::numeric_limits<CGFloat>::max();
    CGFloat height = std::numeric_limits<CGFloat>::max();
    if (m_numberOfLines > 0)
        height = m_font->lineHeight() * static_cast<CGFloat>(m_numberOfLines) + 1;
    return layoutText(m_text, m_font, { width, height }, m_numberOfLines, m_lineBreakMode, m_textAlignment).size();
}

void UILabel::encodeWithCoder(NSCoder& coder) const
{
    UIView::encodeWithCoder(coder);
    coder.encodeString(m_text, "UIText");
    coder.encodeObject(m_font.ptr(), "UIFont");
    coder.encodeObject(m_textColor.ptr(), "UITextColor");
    coder.encodeObject(m_highlightedTextColor.get(), "UIHighlightedColor");
    coder.encodeObject(m_shadowColor.get(), "UIShadowColor");
    coder.encodeSize(m_shadowOffset, "UIShadowOffset");
    coder.encodeInt(m_textAlignment, "UITextAlignment");
    coder.encodeInt(m_lineBreakMode, "UILineBreakMode");
    coder.encodeInt(m_numberOfLines, "UINumberOfLines");
    coder.encodeBool(m_highlighted, "UIHighlighted");
    coder.encodeBool(m_enabled, "UIEnabled");
    coder.encodeBool(m_adjustsFontSizeToFitWidth, "UIAdjustsFontSizeToFit");
    coder.encodeDouble(m_minimumFontSize, "UIMinimumFontSize");
}

void UILabel::initWithCoder(NSCoder& coder)
{
    UIView::initWithCoder(coder);
    m_text = coder.decodeString("UIText");
    if (auto font = coder.decodeObjectOfClass<UIFont>("UIFont"))
        m_font = *font;
    if (auto color = coder.decodeObjectOfClass<UIColor>("UITextColor"))
        m_textColor = *color;
    m_highlightedTextColor = coder.decodeObjectOfClass<UIColor>("UIHighlightedColor");
    m_shadowColor = coder.decodeObjectOfClass<UIColor>("UIShadowColor");
    m_shadowOffset = coder.decodeSize("UIShadowOffset");
    auto alignment = coder.decodeInt("UITextAlignment");
    m_textAlignment = alignment >= 0 && alignment <= 2 ? static_cast<UITextAlignment>(alignment) : UITextAlignmentLeft;
    auto mode = coder.decodeInt("UILineBreakMode");
    m_lineBreakMode = mode >= 0 && mode <= 5 ? static_cast<UILineBreakMode>(mode) : UILineBreakModeTailTruncation;
    m_numberOfLines = static_cast<int>(std::clamp<int64_t>(coder.decodeInt("UINumberOfLines"), 0, 100000));
    m_highlighted = coder.decodeBool("UIHighlighted");
    m_enabled = coder.containsValueForKey("UIEnabled") ? coder.decodeBool("UIEnabled") : true;
    m_adjustsFontSizeToFitWidth = coder.decodeBool("UIAdjustsFontSizeToFit");
    m_minimumFontSize = std::clamp<CGFloat>(static_cast<CGFloat>(coder.decodeDouble("UIMinimumFontSize")), 0, 1000);
}

}
