#include <quartzcore/LayerPainting.h>

#include <algorithm>

namespace quartzcore {

void addRoundedRectPath(const graphics::CGContext& context, graphics::CGRect rect, graphics::CGFloat radius)
{
    using namespace graphics;
    CGContextBeginPath(context);
    radius = std::min({ radius, rect.size.width / 2, rect.size.height / 2 });
    if (radius <= 0) {
        CGContextAddRect(context, rect);
        return;
    }
    CGFloat minX = CGRectGetMinX(rect), midX = CGRectGetMidX(rect), maxX = CGRectGetMaxX(rect);
    CGFloat minY = CGRectGetMinY(rect), midY = CGRectGetMidY(rect), maxY = CGRectGetMaxY(rect);
    CGContextMoveToPoint(context, minX, midY);
    CGContextAddArcToPoint(context, minX, minY, midX, minY, radius);
    CGContextAddArcToPoint(context, maxX, minY, maxX, midY, radius);
    CGContextAddArcToPoint(context, maxX, maxY, midX, maxY, radius);
    CGContextAddArcToPoint(context, minX, maxY, minX, midY, radius);
    CGContextClosePath(context);
}

}
