#include <springboard/SBCloseBoxView.h>

#include <springboard/SBDrawing.h>

#include <uikit/NSCoding.h>
#include <uikit/UIGraphics.h>

#include <cmath>

namespace springboard {

TORVANE_DEFINE_CLASS(SBCloseBoxView)
TORVANE_ARCHIVABLE_CLASS(SBCloseBoxView, SBCloseBoxView::create())

namespace {

// One bar of the cross: a `thickness` wide band from `from` to `to`.
void fillBar(const graphics::CGContext& context, graphics::CGPoint from, graphics::CGPoint to, graphics::CGFloat thickness)
{
    graphics::CGFloat dx = to.x - from.x;
    graphics::CGFloat dy = to.y - from.y;
    graphics::CGFloat length = std::sqrt(dx * dx + dy * dy);
    graphics::CGFloat nx = -dy / length * thickness / 2;
    graphics::CGFloat ny = dx / length * thickness / 2;
    graphics::CGContextBeginPath(context);
    graphics::CGContextMoveToPoint(context, from.x + nx, from.y + ny);
    graphics::CGContextAddLineToPoint(context, to.x + nx, to.y + ny);
    graphics::CGContextAddLineToPoint(context, to.x - nx, to.y - ny);
    graphics::CGContextAddLineToPoint(context, from.x - nx, from.y - ny);
    graphics::CGContextClosePath(context);
    graphics::CGContextFillPath(context);
}

}

runtime::Ref<SBCloseBoxView> SBCloseBoxView::create()
{
    return runtime::adoptRef(*new SBCloseBoxView);
}

SBCloseBoxView::SBCloseBoxView()
    : UIView(uikit::CGRectMake(0, 0, size, size))
{
    setUserInteractionEnabled(false);
    setOpaque(false);
}

void SBCloseBoxView::drawRect(uikit::CGRect rect)
{
    auto context = uikit::UIGraphicsGetCurrentContext();
    graphics::CGRect rim { { rect.origin.x + 2, rect.origin.y + 1.5f }, { rect.size.width - 4, rect.size.height - 4 } };
    graphics::CGContextSaveGState(context);
    graphics::CGContextSetShadowWithColor(context, { 0, 1 }, 2.5, graphics::CGColorCreateGray(0, 0.7));
    graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    graphics::CGContextFillEllipseInRect(context, rim);
    graphics::CGContextRestoreGState(context);

    // The dark body, a little lighter at the top.
    graphics::CGRect body { { rim.origin.x + 2, rim.origin.y + 2 }, { rim.size.width - 4, rim.size.height - 4 } };
    graphics::CGContextSaveGState(context);
    graphics::CGContextAddEllipseInRect(context, body);
    graphics::CGContextClip(context);
    fillVerticalGradient(context, body, { 0.30, 0.30, 0.32, 1 }, { 0.02, 0.02, 0.03, 1 });
    graphics::CGContextRestoreGState(context);

    graphics::CGFloat centreX = body.origin.x + body.size.width / 2;
    graphics::CGFloat centreY = body.origin.y + body.size.height / 2;
    graphics::CGFloat arm = body.size.width * 0.22f;
    graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    fillBar(context, { centreX - arm, centreY - arm }, { centreX + arm, centreY + arm }, 2.5);
    fillBar(context, { centreX + arm, centreY - arm }, { centreX - arm, centreY + arm }, 2.5);
}

}
