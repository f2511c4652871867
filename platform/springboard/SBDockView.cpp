#include <springboard/SBDockView.h>

#include <springboard/SBDrawing.h>

#include <uikit/UIGraphics.h>

namespace springboard {

TORVANE_DEFINE_CLASS(SBDockView)

runtime::Ref<SBDockView> SBDockView::create()
{
    return runtime::adoptRef(*new SBDockView);
}

SBDockView::SBDockView()
    : UIView({ { 0, SBIconListLayout::dockTop }, { SBIconListLayout::screenWidth, SBIconListLayout::dockHeight } })
    , m_iconList(SBIconListView::create(SBIconListLayout::Style::Dock, { { 0, 0 }, { SBIconListLayout::screenWidth, SBIconListLayout::dockHeight } }))
{
    addSubview(m_iconList);
}

void SBDockView::drawRect(uikit::CGRect rect)
{
    auto context = uikit::UIGraphicsGetCurrentContext();
    // The shelf seen from above: a slanted glass top, then its lit front edge and a dark base.
    graphics::CGFloat shelfTop = 30;
    graphics::CGFloat frontTop = rect.size.height - 16;
    graphics::CGContextBeginPath(context);
    graphics::CGContextMoveToPoint(context, 14, shelfTop);
    graphics::CGContextAddLineToPoint(context, rect.size.width - 14, shelfTop);
    graphics::CGContextAddLineToPoint(context, rect.size.width, frontTop);
    graphics::CGContextAddLineToPoint(context, 0, frontTop);
    graphics::CGContextClosePath(context);
    graphics::CGContextSaveGState(context);
    graphics::CGContextClip(context);
    fillVerticalGradient(context, { { 0, shelfTop }, { rect.size.width, frontTop - shelfTop } }, { 0.85, 0.90, 0.95, 0.55 }, { 0.55, 0.62, 0.70, 0.35 });
    graphics::CGContextRestoreGState(context);
    graphics::CGContextSetRGBStrokeColor(context, 1, 1, 1, 0.8);
    graphics::CGContextSetLineWidth(context, 1);
    graphics::CGContextMoveToPoint(context, 14, shelfTop + 0.5);
    graphics::CGContextAddLineToPoint(context, rect.size.width - 14, shelfTop + 0.5);
    graphics::CGContextStrokePath(context);
    fillVerticalGradient(context, { { 0, frontTop }, { rect.size.width, 3 } }, { 1, 1, 1, 0.85 }, { 0.75, 0.80, 0.85, 0.8 });
    fillVerticalGradient(context, { { 0, frontTop + 3 }, { rect.size.width, rect.size.height - frontTop - 3 } }, { 0.30, 0.33, 0.37, 0.9 }, { 0.10, 0.11, 0.13, 0.95 });
}

}
