#include <springboard/SBStatusBarView.h>

#include <springboard/SBDrawing.h>

#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIStringDrawing.h>

#include <cmath>

namespace springboard {

TORVANE_DEFINE_CLASS(SBStatusBarView)

runtime::Ref<SBStatusBarView> SBStatusBarView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new SBStatusBarView(frame));
}

SBStatusBarView::SBStatusBarView(uikit::CGRect frame)
    : UIView(frame)
{
    setUserInteractionEnabled(false);
}

void SBStatusBarView::setShowsLock(bool showsLock)
{
    if (showsLock == m_showsLock)
        return;
    m_showsLock = showsLock;
    setNeedsDisplay();
}

namespace {

// A padlock 10 points wide and 13 high, centred on `centreX`: the shackle's arch over a solid body.
void drawPadlock(const graphics::CGContext& context, graphics::CGFloat centreX, graphics::CGFloat top)
{
    graphics::CGFloat width = 10;
    graphics::CGFloat left = centreX - width / 2;
    graphics::CGFloat shackleRadius = 3;
    graphics::CGFloat archCentreY = top + shackleRadius + 1;
    graphics::CGContextSetRGBStrokeColor(context, 1, 1, 1, 1);
    graphics::CGContextSetLineWidth(context, 1.75);
    graphics::CGContextBeginPath(context);
    graphics::CGContextMoveToPoint(context, centreX - shackleRadius, top + 7);
    graphics::CGContextAddLineToPoint(context, centreX - shackleRadius, archCentreY);
    graphics::CGContextAddArc(context, centreX, archCentreY, shackleRadius, static_cast<graphics::CGFloat>(M_PI), 0, 0);
    graphics::CGContextAddLineToPoint(context, centreX + shackleRadius, top + 7);
    graphics::CGContextStrokePath(context);
    addRoundedRect(context, { { left, top + 6 }, { width, 7 } }, 1.5);
    graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    graphics::CGContextFillPath(context);
}

}

void SBStatusBarView::drawRect(uikit::CGRect rect)
{
    auto context = uikit::UIGraphicsGetCurrentContext();
    graphics::CGContextSetRGBFillColor(context, 0, 0, 0, 0.55);
    graphics::CGContextFillRect(context, rect);

    // Signal bars, rising.
    graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    for (int bar = 0; bar < 5; ++bar)
        graphics::CGContextFillRect(context, { { 6.0f + bar * 4, 14.0f - bar * 2 }, { 3, 3.0f + bar * 2 } });
    auto small = uikit::UIFont::systemFontOfSize(12);
    uikit::UIColor::whiteColor()->set();
    uikit::drawAtPoint("Carrier", { 30, 3 }, small);

    if (m_showsLock) {
        drawPadlock(context, rect.size.width / 2, 3.5);
    } else {
        auto bold = uikit::UIFont::boldSystemFontOfSize(13);
        std::string time = "9:41 AM";
        auto size = uikit::sizeWithFont(time, bold);
        uikit::drawAtPoint(time, { (rect.size.width - size.width) / 2, 2 }, bold);
    }

    // Battery: outline, cap and a full charge.
    graphics::CGContextSetRGBStrokeColor(context, 1, 1, 1, 1);
    graphics::CGContextSetLineWidth(context, 1);
    graphics::CGContextStrokeRect(context, { { rect.size.width - 32.5f, 5.5 }, { 23, 10 } });
    graphics::CGContextFillRect(context, { { rect.size.width - 9, 8 }, { 2, 5 } });
    graphics::CGContextFillRect(context, { { rect.size.width - 31, 7 }, { 20, 7 } });
}

}
