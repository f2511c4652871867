#include <springboard/SBWallpaperView.h>

#include <springboard/SBDrawing.h>

#include <uikit/UIGraphics.h>

namespace springboard {

TORVANE_DEFINE_CLASS(SBWallpaperView)

runtime::Ref<SBWallpaperView> SBWallpaperView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new SBWallpaperView(frame));
}

SBWallpaperView::SBWallpaperView(uikit::CGRect frame)
    : UIView(frame)
{
    setUserInteractionEnabled(false);
}

void SBWallpaperView::drawRect(uikit::CGRect rect)
{
    auto context = uikit::UIGraphicsGetCurrentContext();
    fillVerticalGradient(context, rect, { 0.05, 0.16, 0.36, 1 }, { 0.02, 0.38, 0.45, 1 });
    graphics::CGFloat glow[] = { 0.55, 0.75, 1.0, 0.35, 0.55, 0.75, 1.0, 0 };
    graphics::CGFloat locations[] = { 0, 1 };
    auto gradient = graphics::CGGradientCreateWithColorComponents(graphics::CGColorSpaceCreateDeviceRGB(), glow, locations, 2);
    graphics::CGContextDrawRadialGradient(context, gradient, { rect.size.width * 0.2f, rect.size.height * 0.15f }, 0,
        { rect.size.width * 0.2f, rect.size.height * 0.15f }, rect.size.height * 0.6f, 0);
    // A few gentle arcs so the screenshot reads as a picture, not a flat fill.
    graphics::CGContextSetLineWidth(context, 1.5);
    for (int ring = 0; ring < 6; ++ring) {
        graphics::CGContextSetRGBStrokeColor(context, 1, 1, 1, 0.05 + 0.01 * ring);
        graphics::CGContextBeginPath(context);
        graphics::CGContextAddArc(context, rect.size.width * 1.1, rect.size.height * 1.05, 180 + 45 * ring, 3.3, 4.6, 0);
        graphics::CGContextStrokePath(context);
    }
}

}
