#include <springboard/SBDrawing.h>

#include <algorithm>

namespace springboard {

void addRoundedRect(const graphics::CGContext& context, graphics::CGRect rect, graphics::CGFloat radius)
{
    graphics::CGFloat left = rect.origin.x;
    graphics::CGFloat top = rect.origin.y;
    graphics::CGFloat right = left + rect.size.width;
    graphics::CGFloat bottom = top + rect.size.height;
    radius = std::min({ radius, rect.size.width / 2, rect.size.height / 2 });
    graphics::CGContextBeginPath(context);
    graphics::CGContextMoveToPoint(context, left, top + rect.size.height / 2);
    graphics::CGContextAddArcToPoint(context, left, top, left + rect.size.width / 2, top, radius);
    graphics::CGContextAddArcToPoint(context, right, top, right, top + rect.size.height / 2, radius);
    graphics::CGContextAddArcToPoint(context, right, bottom, left + rect.size.width / 2, bottom, radius);
    graphics::CGContextAddArcToPoint(context, left, bottom, left, top + rect.size.height / 2, radius);
    graphics::CGContextClosePath(context);
}

void fillVerticalGradient(const graphics::CGContext& context, graphics::CGRect rect, graphics::ColorRGBA top, graphics::ColorRGBA bottom)
{
    auto f = [](double value) { return static_cast<graphics::CGFloat>(value); };
    graphics::CGFloat components[] = { f(top.red), f(top.green), f(top.blue), f(top.alpha), f(bottom.red), f(bottom.green), f(bottom.blue), f(bottom.alpha) };
    graphics::CGFloat locations[] = { 0, 1 };
    auto gradient = graphics::CGGradientCreateWithColorComponents(graphics::CGColorSpaceCreateDeviceRGB(), components, locations, 2);
    graphics::CGContextSaveGState(context);
    graphics::CGContextClipToRect(context, rect);
    graphics::CGContextDrawLinearGradient(context, gradient, { rect.origin.x, rect.origin.y }, { rect.origin.x, rect.origin.y + rect.size.height },
        graphics::kCGGradientDrawsBeforeStartLocation | graphics::kCGGradientDrawsAfterEndLocation);
    graphics::CGContextRestoreGState(context);
}

void fillLinen(const graphics::CGContext& context, graphics::CGRect rect)
{
    graphics::CGContextSaveGState(context);
    graphics::CGContextClipToRect(context, rect);
    fillVerticalGradient(context, rect, { 0.27, 0.28, 0.30, 1 }, { 0.20, 0.21, 0.23, 1 });
    graphics::CGContextSetLineWidth(context, 0.5);
    // Two sets of faint diagonal threads crossing each other.
    graphics::CGFloat span = rect.size.width + rect.size.height;
    graphics::CGContextSetRGBStrokeColor(context, 1, 1, 1, 0.035);
    for (graphics::CGFloat offset = -rect.size.height; offset < span; offset += 3) {
        graphics::CGContextMoveToPoint(context, rect.origin.x + offset, rect.origin.y);
        graphics::CGContextAddLineToPoint(context, rect.origin.x + offset + rect.size.height, rect.origin.y + rect.size.height);
    }
    graphics::CGContextStrokePath(context);
    graphics::CGContextSetRGBStrokeColor(context, 0, 0, 0, 0.06);
    for (graphics::CGFloat offset = 0; offset < span + rect.size.height; offset += 4) {
        graphics::CGContextMoveToPoint(context, rect.origin.x + offset, rect.origin.y);
        graphics::CGContextAddLineToPoint(context, rect.origin.x + offset - rect.size.height, rect.origin.y + rect.size.height);
    }
    graphics::CGContextStrokePath(context);
    graphics::CGContextRestoreGState(context);
}

}
