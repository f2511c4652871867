#include "TQTableViewSectionHeaderView.h"

#include <graphics/Context.h>
#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIStringDrawing.h>

namespace tweak {

TORVANE_DEFINE_CLASS(TQTableViewSectionHeaderView)

runtime::Ref<TQTableViewSectionHeaderView> TQTableViewSectionHeaderView::create(std::string title)
{
    return runtime::adoptRef(*new TQTableViewSectionHeaderView(std::move(title)));
}

TQTableViewSectionHeaderView::TQTableViewSectionHeaderView(std::string title)
    : UIView(uikit::CGRectZero)
    , m_title(std::move(title))
{
    setBackgroundColor(uikit::UIColor::colorWithRed(0.165f, 0.224f, 0.376f, 0.85f));
}

void TQTableViewSectionHeaderView::drawRect(uikit::CGRect)
{
    auto context = uikit::UIGraphicsGetCurrentContext();
    auto font = uikit::UIFont::boldSystemFontOfSize(12);
    auto width = bounds().size.width;
    auto bottom = bounds().size.height;

    uikit::UIColor::colorWithWhite(0, 0.8f)->set();
    uikit::drawAtPoint(m_title, { 10, 4 }, font.get());
    uikit::UIColor::whiteColor()->set();
    uikit::drawAtPoint(m_title, { 10, 5 }, font.get());

    graphics::CGContextSetLineWidth(context, 1.5f);
    uikit::UIColor::colorWithWhite(1, 0.35f)->setStroke();
    graphics::CGContextBeginPath(context);
    graphics::CGContextMoveToPoint(context, 0, 0);
    graphics::CGContextAddLineToPoint(context, width, 0);
    graphics::CGContextStrokePath(context);
    uikit::UIColor::colorWithWhite(0, 0.35f)->setStroke();
    graphics::CGContextBeginPath(context);
    graphics::CGContextMoveToPoint(context, 0, bottom);
    graphics::CGContextAddLineToPoint(context, width, bottom);
    graphics::CGContextStrokePath(context);
}

}
