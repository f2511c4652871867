#include "TQTableViewTopShadowView.h"

#include <graphics/ColorSpace.h>
#include <graphics/Gradient.h>
#include <uikit/UIGraphics.h>

namespace tweak {

TORVANE_DEFINE_CLASS(TQTableViewTopShadowView)

runtime::Ref<TQTableViewTopShadowView> TQTableViewTopShadowView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new TQTableViewTopShadowView(frame));
}

TQTableViewTopShadowView::TQTableViewTopShadowView(uikit::CGRect frame)
    : UIView(frame)
{
}

void TQTableViewTopShadowView::drawRect(uikit::CGRect rect)
{
    UIView::drawRect(rect);
    auto area = bounds();
    const uikit::CGFloat components[] = { 0, 0, 0, 0.4f, 0, 0, 0, 0 };
    const uikit::CGFloat locations[] = { 0, 1 };
    auto gradient = graphics::CGGradientCreateWithColorComponents(graphics::CGColorSpaceCreateDeviceRGB(), components, locations, 2);
    graphics::CGContextDrawLinearGradient(uikit::UIGraphicsGetCurrentContext(), gradient,
        { graphics::CGRectGetMidX(area), graphics::CGRectGetMinY(area) }, { graphics::CGRectGetMidX(area), depth }, 0);
}

}
