#include <springboard/SBStatusBarView.h>

#include <springboard/SBDrawing.h>

#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIStringDrawing.h>

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

    auto bold = uikit::UIFont::boldSystemFontOfSize(13);
    std::string time = "9:41 AM";
    auto size = uikit::sizeWithFont(time, bold);
    uikit::drawAtPoint(time, { (rect.size.width - size.width) / 2, 2 }, bold);

    // Battery: outline, cap and a full charge.
    graphics::CGContextSetRGBStrokeColor(context, 1, 1, 1, 1);
    graphics::CGContextSetLineWidth(context, 1);
    graphics::CGContextStrokeRect(context, { { rect.size.width - 32.5f, 5.5 }, { 23, 10 } });
    graphics::CGContextFillRect(context, { { rect.size.width - 9, 8 }, { 2, 5 } });
    graphics::CGContextFillRect(context, { { rect.size.width - 31, 7 }, { 20, 7 } });
}

}
