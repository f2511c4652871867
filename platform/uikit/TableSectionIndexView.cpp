#include <uikit/TableSectionIndexView.h>

#include <foundation/NSSet.h>
#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIStringDrawing.h>
#include <uikit/UITouch.h>

#include <algorithm>
#include <cmath>

namespace uikit {

TORVANE_DEFINE_CLASS(TableSectionIndexView)

namespace {
constexpr CGFloat kVerticalMargin = 8;
constexpr CGFloat kMaximumRowHeight = 16;
}

runtime::Ref<TableSectionIndexView> TableSectionIndexView::create(Handler handler)
{
    return runtime::adoptRef(*new TableSectionIndexView(std::move(handler)));
}

TableSectionIndexView::TableSectionIndexView(Handler handler)
    : UIView(CGRectZero)
    , m_handler(std::move(handler))
{
    setBackgroundColor(UIColor::clearColor());
}

void TableSectionIndexView::setTitles(std::vector<std::string> titles)
{
    m_titles = std::move(titles);
    setNeedsDisplay();
}

CGFloat TableSectionIndexView::rowHeight() const
{
    if (m_titles.empty())
        return 0;
    CGFloat room = std::max<CGFloat>(0, bounds().size.height - 2 * kVerticalMargin);
    return std::min(kMaximumRowHeight, room / m_titles.size());
}

int TableSectionIndexView::indexAtY(CGFloat y) const
{
    if (m_titles.empty())
        return -1;
    CGFloat row = rowHeight();
    CGFloat top = std::floor((bounds().size.height - row * m_titles.size()) / 2);
    int index = row > 0 ? static_cast<int>(std::floor((y - top) / row)) : 0;
    return std::clamp(index, 0, static_cast<int>(m_titles.size()) - 1);
}

void TableSectionIndexView::drawRect(CGRect)
{
    if (m_titles.empty())
        return;
    auto font = UIFont::boldSystemFontOfSize(12);
    CGFloat row = rowHeight();
    CGFloat top = std::floor((bounds().size.height - row * m_titles.size()) / 2);
    graphics::CGContextSetRGBFillColor(UIGraphicsGetCurrentContext(), 0.38f, 0.42f, 0.49f, 1);
    for (size_t index = 0; index < m_titles.size(); ++index) {
        CGRect line { { 0, top + index * row }, { bounds().size.width, row } };
        drawInRect(m_titles[index], line, font, UILineBreakModeClip, UITextAlignmentCenter);
    }
}

void TableSectionIndexView::report(foundation::NSSet& touches)
{
    auto touch = runtime::dynamicCast<UITouch>(touches.anyObject());
    if (!touch)
        return;
    int index = indexAtY(touch->locationInView(this).y);
    if (index < 0 || index == m_lastIndex)
        return;
    m_lastIndex = index;
    if (m_handler)
        m_handler(index, m_titles[index]);
}

void TableSectionIndexView::touchesBegan(foundation::NSSet& touches, UIEvent*)
{
    m_lastIndex = -1;
    report(touches);
}

void TableSectionIndexView::touchesMoved(foundation::NSSet& touches, UIEvent*)
{
    report(touches);
}

}
