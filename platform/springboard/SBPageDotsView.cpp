#include <springboard/SBPageDotsView.h>

#include <uikit/UIGraphics.h>

namespace springboard {

TORVANE_DEFINE_CLASS(SBPageDotsView)

runtime::Ref<SBPageDotsView> SBPageDotsView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new SBPageDotsView(frame));
}

SBPageDotsView::SBPageDotsView(uikit::CGRect frame)
    : UIView(frame)
{
    setUserInteractionEnabled(false);
}

void SBPageDotsView::setPageCount(size_t count)
{
    m_pageCount = count;
    setNeedsDisplay();
}

void SBPageDotsView::setCurrentPage(size_t page)
{
    m_currentPage = page;
    setNeedsDisplay();
}

void SBPageDotsView::drawRect(uikit::CGRect rect)
{
    if (m_pageCount < 2)
        return;
    auto context = uikit::UIGraphicsGetCurrentContext();
    const uikit::CGFloat dot = 6;
    const uikit::CGFloat spacing = 10;
    uikit::CGFloat width = m_pageCount * dot + (m_pageCount - 1) * (spacing - dot);
    uikit::CGFloat x = (rect.size.width - width) / 2;
    uikit::CGFloat y = (rect.size.height - dot) / 2;
    for (size_t page = 0; page < m_pageCount; ++page) {
        graphics::CGContextSetRGBFillColor(context, 1, 1, 1, page == m_currentPage ? 1 : 0.35);
        graphics::CGContextFillEllipseInRect(context, { { x + page * spacing, y }, { dot, dot } });
    }
}

}
