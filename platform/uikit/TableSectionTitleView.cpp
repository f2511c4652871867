#include <uikit/TableSectionTitleView.h>

#include <uikit/AlertPanelRenderer.h>
#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIStringDrawing.h>

#include <algorithm>
#include <cmath>

namespace uikit {

using namespace graphics;

TORVANE_DEFINE_CLASS(TableSectionTitleView)

namespace {

constexpr CGFloat kPlainHeight = 22;
constexpr CGFloat kGroupedTextInset = 19;

runtime::Ref<UIFont> fontFor(TableSectionTitleView::Kind kind)
{
    switch (kind) {
    case TableSectionTitleView::Kind::PlainHeader:
    case TableSectionTitleView::Kind::PlainFooter:
        return UIFont::boldSystemFontOfSize(18);
    case TableSectionTitleView::Kind::GroupedHeader:
        return UIFont::boldSystemFontOfSize(17);
    case TableSectionTitleView::Kind::GroupedFooter:
        return UIFont::systemFontOfSize(15);
    }
    return UIFont::systemFontOfSize(15);
}

CGFloat groupedTextHeight(TableSectionTitleView::Kind kind, const std::string& title, CGFloat width)
{
    CGSize room { std::max<CGFloat>(1, width - 2 * kGroupedTextInset), 10000 };
    return std::ceil(sizeWithFontConstrainedToSize(title, fontFor(kind), room).height);
}

}

runtime::Ref<TableSectionTitleView> TableSectionTitleView::create(Kind kind, std::string title)
{
    return runtime::adoptRef(*new TableSectionTitleView(kind, std::move(title)));
}

TableSectionTitleView::TableSectionTitleView(Kind kind, std::string title)
    : UIView(CGRectZero)
    , m_kind(kind)
    , m_title(std::move(title))
{
    setBackgroundColor(UIColor::clearColor());
    setUserInteractionEnabled(false);
}

CGFloat TableSectionTitleView::heightFor(Kind kind, const std::string& title, CGFloat width)
{
    switch (kind) {
    case Kind::PlainHeader:
    case Kind::PlainFooter:
        return kPlainHeight;
    case Kind::GroupedHeader:
        // Room above for the gap between groups, and a little under the text.
        return std::max<CGFloat>(44, groupedTextHeight(kind, title, width) + 23);
    case Kind::GroupedFooter:
        return groupedTextHeight(kind, title, width) + 16;
    }
    return 0;
}

void TableSectionTitleView::drawRect(CGRect)
{
    auto c = UIGraphicsGetCurrentContext();
    CGRect b = bounds();
    auto font = fontFor(m_kind);

    if (m_kind == Kind::PlainHeader || m_kind == Kind::PlainFooter) {
        fillVerticalGradient(c, b, { 0.56f, 0.62f, 0.69f, 0.94f }, { 0.71f, 0.75f, 0.80f, 0.94f });
        CGContextSetRGBFillColor(c, 0.46f, 0.52f, 0.58f, 1);
        CGContextFillRect(c, { b.origin, { b.size.width, 1 } });
        CGContextSetRGBFillColor(c, 0.60f, 0.64f, 0.69f, 1);
        CGContextFillRect(c, { { b.origin.x, CGRectGetMaxY(b) - 1 }, { b.size.width, 1 } });

        CGFloat lineHeight = std::ceil(font->lineHeight());
        CGPoint at { 12, std::floor((b.size.height - lineHeight) / 2) };
        CGContextSetRGBFillColor(c, 0.25f, 0.28f, 0.33f, 0.6f);
        drawAtPointForWidth(m_title, { at.x, at.y + 1 }, b.size.width - 24, font, UILineBreakModeTailTruncation);
        CGContextSetRGBFillColor(c, 1, 1, 1, 1);
        drawAtPointForWidth(m_title, at, b.size.width - 24, font, UILineBreakModeTailTruncation);
        return;
    }

    CGFloat textWidth = std::max<CGFloat>(1, b.size.width - 2 * kGroupedTextInset);
    CGFloat textHeight = groupedTextHeight(m_kind, m_title, b.size.width);
    bool header = m_kind == Kind::GroupedHeader;
    CGFloat y = header ? b.size.height - textHeight - 7 : 6;
    auto alignment = header ? UITextAlignmentLeft : UITextAlignmentCenter;
    CGRect text { { kGroupedTextInset, y }, { textWidth, textHeight } };

    CGContextSetRGBFillColor(c, 1, 1, 1, 1);
    drawInRect(m_title, CGRectOffset(text, 0, 1), font, UILineBreakModeWordWrap, alignment);
    CGContextSetRGBFillColor(c, 0.30f, 0.34f, 0.42f, 1);
    drawInRect(m_title, text, font, UILineBreakModeWordWrap, alignment);
}

}
