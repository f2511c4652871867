#include "TQTableView.h"

#include <graphics/ColorSpace.h>
#include <graphics/Gradient.h>
#include <uikit/UIGraphics.h>

namespace tweak {

TORVANE_DEFINE_CLASS(TQTableView)

runtime::Ref<TQTableView> TQTableView::create(uikit::CGRect frame, uikit::UITableViewStyle style)
{
    return runtime::adoptRef(*new TQTableView(frame, style));
}

TQTableView::TQTableView(uikit::CGRect frame, uikit::UITableViewStyle style)
    : UITableView(frame, style)
{
}

void TQTableView::drawRect(uikit::CGRect rect)
{
    if (m_alertStyle == TQTableAlertStyle::Gradient) {
        auto context = uikit::UIGraphicsGetCurrentContext();
        auto area = bounds();
        const uikit::CGFloat components[] = { 0.922f, 0.925f, 0.933f, 1, 0.749f, 0.753f, 0.761f, 1 };
        const uikit::CGFloat locations[] = { 0, 1 };
        auto gradient = graphics::CGGradientCreateWithColorComponents(graphics::CGColorSpaceCreateDeviceRGB(), components, locations, 2);
        graphics::CGContextDrawLinearGradient(context, gradient, { graphics::CGRectGetMidX(area), graphics::CGRectGetMinY(area) },
            { graphics::CGRectGetMidX(area), graphics::CGRectGetMaxY(area) }, 0);
    }
    UITableView::drawRect(rect);
}

}
