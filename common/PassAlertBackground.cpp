#include "PassAlertBackground.h"

#include <graphics/ColorSpace.h>
#include <graphics/Gradient.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIColor.h>
#include <uikit/UIImageView.h>

namespace passalert {

using namespace graphics;
using uikit::CGFloat;
using uikit::CGRect;

void clearStockBackground(uikit::UIAlertView& alert)
{
    for (auto& subview : alert.subviews()) {
        if (subview->isMemberOfClass(uikit::UIImageView::staticClass()) && subview->tag() == 0) {
            static_cast<uikit::UIImageView&>(subview.get()).setImage(nullptr);
            return;
        }
    }
}

void addRoundedRect(const CGContext& context, CGRect rect, CGFloat radius)
{
    CGFloat minX = CGRectGetMinX(rect), midX = CGRectGetMidX(rect), maxX = CGRectGetMaxX(rect);
    CGFloat minY = CGRectGetMinY(rect), midY = CGRectGetMidY(rect), maxY = CGRectGetMaxY(rect);
    CGContextMoveToPoint(context, minX, midY);
    CGContextAddArcToPoint(context, minX, minY, midX, minY, radius);
    CGContextAddArcToPoint(context, maxX, minY, maxX, midY, radius);
    CGContextAddArcToPoint(context, maxX, maxY, midX, maxY, radius);
    CGContextAddArcToPoint(context, minX, maxY, minX, midY, radius);
    CGContextClosePath(context);
}

void drawPanel(const CGContext& context, CGRect rect)
{
    CGFloat x = rect.origin.x, y = rect.origin.y, w = rect.size.width, h = rect.size.height;

    CGContextClearRect(context, rect);
    CGContextSetShouldAntialias(context, true);
    CGContextSetAlpha(context, 0.8f);
    CGContextSetLineWidth(context, 2);
    CGContextSetStrokeColorWithColor(context, uikit::UIColor::colorWithHue(0.625f, 0, 0.8f, 0.8f)->CGColor());
    CGContextSetFillColorWithColor(context, uikit::UIColor::blackColor()->CGColor());

    CGContextBeginPath(context);
    addRoundedRect(context, { { x + 2, y + 2 }, { w - 4, h - 4 } }, 8);
    CGContextDrawPath(context, kCGPathFillStroke);

    // The highlight stays inside the border and inside a wide, flat ellipse over the top.
    CGContextBeginPath(context);
    addRoundedRect(context, { { x + 3, y + 3 }, { w - 6, h - 6 } }, 8);
    CGContextClip(context);

    CGColorSpace space = CGColorSpaceCreateDeviceRGB();
    const CGFloat components[] = { 1, 1, 1, 0.35f, 1, 1, 1, 0.06f };
    const CGFloat locations[] = { 0, 1 };
    CGGradient gradient = CGGradientCreateWithColorComponents(space, components, locations, 2);

    CGContextSetAlpha(context, 1);
    CGContextBeginPath(context);
    CGContextAddEllipseInRect(context, { { -130, -115 }, { 2 * w, w / 2 } });
    CGContextClip(context);

    CGContextDrawLinearGradient(context, gradient, { x, y }, { x, h / 5 }, 0);
}

}
