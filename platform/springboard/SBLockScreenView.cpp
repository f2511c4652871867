#include <springboard/SBLockScreenView.h>

#include <springboard/SBDrawing.h>

#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIStringDrawing.h>

namespace springboard {

TORVANE_DEFINE_CLASS(SBLockScreenView)

runtime::Ref<SBLockScreenView> SBLockScreenView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new SBLockScreenView(frame));
}

SBLockScreenView::SBLockScreenView(uikit::CGRect frame)
    : UIView(frame)
{
}

void SBLockScreenView::drawRect(uikit::CGRect rect)
{
    auto context = uikit::UIGraphicsGetCurrentContext();
    fillVerticalGradient(context, rect, { 0.03, 0.09, 0.22, 1 }, { 0.01, 0.20, 0.25, 1 });

    // The clock bar.
    fillVerticalGradient(context, { { 0, 20 }, { rect.size.width, 96 } }, { 0.25, 0.25, 0.27, 0.75 }, { 0.05, 0.05, 0.06, 0.75 });
    graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 0.25);
    graphics::CGContextFillRect(context, { { 0, 20 }, { rect.size.width, 1 } });
    uikit::UIColor::whiteColor()->set();
    auto clockFont = uikit::UIFont::systemFontOfSize(56);
    std::string time = "9:41";
    auto timeSize = uikit::sizeWithFont(time, clockFont);
    uikit::drawAtPoint(time, { (rect.size.width - timeSize.width) / 2, 26 }, clockFont);
    auto dateFont = uikit::UIFont::boldSystemFontOfSize(15);
    std::string date = "Monday, December 7";
    auto dateSize = uikit::sizeWithFont(date, dateFont);
    uikit::drawAtPoint(date, { (rect.size.width - dateSize.width) / 2, 90 }, dateFont);

    // The slider at the bottom.
    uikit::CGRect bar { { 0, rect.size.height - 96 }, { rect.size.width, 96 } };
    fillVerticalGradient(context, bar, { 0.15, 0.15, 0.16, 0.8 }, { 0.0, 0.0, 0.0, 0.85 });
    uikit::CGRect track { { 20, bar.origin.y + 24 }, { rect.size.width - 40, 48 } };
    addRoundedRect(context, track, 12);
    graphics::CGContextSetRGBFillColor(context, 0, 0, 0, 0.6);
    graphics::CGContextFillPath(context);
    uikit::CGRect knob { { track.origin.x + 3, track.origin.y + 3 }, { 70, 42 } };
    addRoundedRect(context, knob, 10);
    graphics::CGContextSaveGState(context);
    graphics::CGContextClip(context);
    fillVerticalGradient(context, knob, { 0.98, 0.98, 0.98, 1 }, { 0.70, 0.70, 0.72, 1 });
    graphics::CGContextRestoreGState(context);
    // The arrow on the knob.
    graphics::CGContextSetRGBFillColor(context, 0.45, 0.45, 0.47, 1);
    graphics::CGContextFillRect(context, { { knob.origin.x + 22, knob.origin.y + 18 }, { 16, 6 } });
    graphics::CGContextBeginPath(context);
    graphics::CGContextMoveToPoint(context, knob.origin.x + 38, knob.origin.y + 11);
    graphics::CGContextAddLineToPoint(context, knob.origin.x + 50, knob.origin.y + 21);
    graphics::CGContextAddLineToPoint(context, knob.origin.x + 38, knob.origin.y + 31);
    graphics::CGContextClosePath(context);
    graphics::CGContextFillPath(context);
    auto slideFont = uikit::UIFont::systemFontOfSize(21);
    uikit::UIColor::colorWithWhite(1, 0.7)->set();
    uikit::drawAtPoint("slide to unlock", { knob.origin.x + 88, track.origin.y + 11 }, slideFont);
}

}
