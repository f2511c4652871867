#include <quartzcore/CAGradientLayer.h>

#include <quartzcore/LayerPainting.h>

#include <graphics/Context.h>
#include <graphics/Gradient.h>

namespace quartzcore {

TORVANE_DEFINE_CLASS(CAGradientLayer)

runtime::Ref<CAGradientLayer> CAGradientLayer::create()
{
    return runtime::adoptRef(*new CAGradientLayer);
}

void CAGradientLayer::drawInContext(const graphics::CGContext& context)
{
    CALayer::drawInContext(context);
    if (m_colors.empty())
        return;
    CGRect rect = bounds();
    if (rect.size.width <= 0 || rect.size.height <= 0)
        return;
    auto colors = m_colors;
    if (colors.size() == 1)
        colors.push_back(colors.front()); // one colour fills the layer evenly
    const CGFloat* locations = m_locations.size() == colors.size() ? m_locations.data() : nullptr;
    auto gradient = graphics::CGGradientCreateWithColors(graphics::CGColorSpaceCreateDeviceRGB(), colors, locations);

    graphics::CGContextSaveGState(context);
    addRoundedRectPath(context, rect, cornerRadius());
    graphics::CGContextClip(context);
    CGPoint start { rect.origin.x + m_startPoint.x * rect.size.width, rect.origin.y + m_startPoint.y * rect.size.height };
    CGPoint end { rect.origin.x + m_endPoint.x * rect.size.width, rect.origin.y + m_endPoint.y * rect.size.height };
    // Core Animation fills the whole layer: beyond the end points the end colours continue.
    graphics::CGContextDrawLinearGradient(context, gradient, start, end,
        graphics::kCGGradientDrawsBeforeStartLocation | graphics::kCGGradientDrawsAfterEndLocation);
    graphics::CGContextRestoreGState(context);
}

}
