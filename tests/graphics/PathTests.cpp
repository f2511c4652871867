#include "DrawingTestSupport.h"

#include <graphics/Context.h>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace graphics;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Cairo keeps path coordinates in 24.8 fixed point.
void expectPointNear(CGPoint actual, CGPoint expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1.0 / 256) << actual;
    EXPECT_NEAR(actual.y, expected.y, 1.0 / 256) << actual;
}

// The rounded rectangle path of the alert panel: four corner arcs from the left edge's middle.
void addRoundedRect(const CGContext& c, CGRect r, CGFloat radius)
{
    CGContextMoveToPoint(c, CGRectGetMinX(r), CGRectGetMidY(r));
    CGContextAddArcToPoint(c, CGRectGetMinX(r), CGRectGetMinY(r), CGRectGetMidX(r), CGRectGetMinY(r), radius);
    CGContextAddArcToPoint(c, CGRectGetMaxX(r), CGRectGetMinY(r), CGRectGetMaxX(r), CGRectGetMidY(r), radius);
    CGContextAddArcToPoint(c, CGRectGetMaxX(r), CGRectGetMaxY(r), CGRectGetMidX(r), CGRectGetMaxY(r), radius);
    CGContextAddArcToPoint(c, CGRectGetMinX(r), CGRectGetMaxY(r), CGRectGetMinX(r), CGRectGetMidY(r), radius);
    CGContextClosePath(c);
}

} // namespace

TEST(ArcToPoint, EndsAtTheSecondTangentPoint)
{
    CGContext c = CGBitmapContextCreate(100, 100);
    // A right-angle corner: tangent points lie `radius` from the corner along each leg.
    CGContextMoveToPoint(c, 0, 50);
    CGContextAddArcToPoint(c, 0, 0, 50, 0, 10);
    expectPointNear(CGContextGetPathCurrentPoint(c), CGPointMake(10, 0));

    // A 60-degree corner at the origin: legs along the x axis and at 60 degrees; the tangent
    // distance is r / tan(30 degrees).
    CGContextBeginPath(c);
    CGContextMoveToPoint(c, 80, 0);
    CGContextAddArcToPoint(c, 0, 0, 40, 40 * std::sqrt(3.0f), 5);
    float d = 5 / std::tan(kPi / 6);
    expectPointNear(CGContextGetPathCurrentPoint(c), CGPointMake(d * 0.5f, d * std::sqrt(3.0f) / 2));

    // Turning the other way round gives the mirrored point.
    CGContextBeginPath(c);
    CGContextMoveToPoint(c, 50, 100);
    CGContextAddArcToPoint(c, 50, 50, 0, 50, 20);
    expectPointNear(CGContextGetPathCurrentPoint(c), CGPointMake(30, 50));
}

TEST(ArcToPoint, DegenerateCornersBecomeALineToTheCorner)
{
    CGContext c = CGBitmapContextCreate(100, 100);
    // Collinear points.
    CGContextMoveToPoint(c, 0, 0);
    CGContextAddArcToPoint(c, 10, 10, 20, 20, 5);
    expectPointNear(CGContextGetPathCurrentPoint(c), CGPointMake(10, 10));
    // Zero radius.
    CGContextAddArcToPoint(c, 30, 10, 30, 40, 0);
    expectPointNear(CGContextGetPathCurrentPoint(c), CGPointMake(30, 10));
    // The target coincides with the corner.
    CGContextAddArcToPoint(c, 60, 10, 60, 10, 5);
    expectPointNear(CGContextGetPathCurrentPoint(c), CGPointMake(60, 10));
    // Without a current point nothing is added.
    CGContextBeginPath(c);
    CGContextAddArcToPoint(c, 60, 10, 60, 60, 5);
    EXPECT_TRUE(CGContextIsPathEmpty(c));
}

TEST(ArcToPoint, RoundedRectangleCutsItsCorners)
{
    CGContext c = CGBitmapContextCreate(100, 60);
    addRoundedRect(c, CGRectMake(0, 0, 100, 60), 20);
    CGContextFillPath(c);
    EXPECT_EQ(pixel(c, 1, 1), kClear);
    EXPECT_EQ(pixel(c, 98, 1), kClear);
    EXPECT_EQ(pixel(c, 98, 58), kClear);
    EXPECT_EQ(pixel(c, 1, 58), kClear);
    EXPECT_EQ(pixel(c, 50, 1), kOpaqueBlack);
    EXPECT_EQ(pixel(c, 1, 30), kOpaqueBlack);
    // On the diagonal of a corner the fill ends at the arc: r (1 - 1/sqrt 2) from the corner.
    EXPECT_EQ(pixel(c, 4, 4), kClear);
    EXPECT_EQ(pixel(c, 7, 7), kOpaqueBlack);
}

TEST(Arc, ClockwiseFlagRunsAgainstIncreasingAngles)
{
    // A quarter pie from 0 to pi/2: with flag 0 it covers the lower right quarter (y grows
    // downwards); with flag 1 the other three quarters.
    CGContext c = CGBitmapContextCreate(40, 40);
    CGContextMoveToPoint(c, 20, 20);
    CGContextAddArc(c, 20, 20, 15, 0, kPi / 2, 0);
    CGContextClosePath(c);
    CGContextFillPath(c);
    EXPECT_EQ(pixel(c, 27, 27), kOpaqueBlack);
    EXPECT_EQ(pixel(c, 27, 13), kClear);
    EXPECT_EQ(pixel(c, 13, 13), kClear);

    CGContext d = CGBitmapContextCreate(40, 40);
    CGContextMoveToPoint(d, 20, 20);
    CGContextAddArc(d, 20, 20, 15, 0, kPi / 2, 1);
    CGContextClosePath(d);
    CGContextFillPath(d);
    EXPECT_EQ(pixel(d, 27, 27), kClear);
    EXPECT_EQ(pixel(d, 27, 13), kOpaqueBlack);
    EXPECT_EQ(pixel(d, 13, 27), kOpaqueBlack);
}

TEST(DrawPath, FillAndStrokeUseTheSamePath)
{
    CGContext c = CGBitmapContextCreate(40, 40);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextSetRGBStrokeColor(c, 0, 0, 1, 1);
    CGContextSetLineWidth(c, 4);
    CGContextAddRect(c, CGRectMake(10, 10, 20, 20));
    CGContextDrawPath(c, kCGPathFillStroke);
    EXPECT_EQ(pixel(c, 20, 20), kOpaqueRed);
    EXPECT_EQ(pixel(c, 20, 9), kOpaqueBlue);
    EXPECT_EQ(pixel(c, 20, 11), kOpaqueBlue);
    EXPECT_EQ(pixel(c, 20, 5), kClear);
    EXPECT_TRUE(CGContextIsPathEmpty(c));
}

TEST(DrawPath, EvenOddLeavesTheInnerShapeOut)
{
    CGContext c = CGBitmapContextCreate(40, 40);
    CGContextAddRect(c, CGRectMake(0, 0, 40, 40));
    CGContextAddRect(c, CGRectMake(10, 10, 20, 20));
    CGContextDrawPath(c, kCGPathEOFill);
    EXPECT_EQ(pixel(c, 5, 5), kOpaqueBlack);
    EXPECT_EQ(pixel(c, 20, 20), kClear);

    // The same two rectangles wind the same way, so the non-zero rule fills both.
    CGContext d = CGBitmapContextCreate(40, 40);
    CGContextAddRect(d, CGRectMake(0, 0, 40, 40));
    CGContextAddRect(d, CGRectMake(10, 10, 20, 20));
    CGContextFillPath(d);
    EXPECT_EQ(pixel(d, 20, 20), kOpaqueBlack);
}

TEST(DrawPath, HairlineIsOnePixelWide)
{
    CGContext c = CGBitmapContextCreate(20, 20, 2);
    CGContextSetLineWidth(c, 0);
    CGContextMoveToPoint(c, 0, 5.25f);
    CGContextAddLineToPoint(c, 10, 5.25f);
    CGContextStrokePath(c);
    // y = 5.25 points is pixel row 10.5: one pixel, row 10.
    EXPECT_EQ(pixel(c, 5, 10), kOpaqueBlack);
    EXPECT_EQ(pixel(c, 5, 9), kClear);
    EXPECT_EQ(pixel(c, 5, 11), kClear);
}

TEST(Clip, EllipseClipConfinesLaterFills)
{
    CGContext c = CGBitmapContextCreate(60, 30);
    CGContextAddEllipseInRect(c, CGRectMake(0, 0, 60, 30));
    CGContextClip(c);
    EXPECT_TRUE(CGContextIsPathEmpty(c));
    CGContextFillRect(c, CGRectMake(0, 0, 60, 30));
    EXPECT_EQ(pixel(c, 30, 15), kOpaqueBlack);
    EXPECT_EQ(pixel(c, 2, 2), kClear);
    EXPECT_EQ(pixel(c, 57, 27), kClear);
    CGRect box = CGContextGetClipBoundingBox(c);
    EXPECT_NEAR(box.size.width, 60, 1);
    EXPECT_NEAR(box.size.height, 30, 1);
    // An empty rectangle adds nothing, and leaves the context usable.
    CGContextAddEllipseInRect(c, CGRectMake(5, 5, 0, 10));
    EXPECT_TRUE(CGContextIsPathEmpty(c));
    EXPECT_EQ(cairo_status(c.cairo()), CAIRO_STATUS_SUCCESS);
}

TEST(Clip, EvenOddClipMakesARing)
{
    CGContext c = CGBitmapContextCreate(40, 40);
    CGContextAddRect(c, CGRectMake(0, 0, 40, 40));
    CGContextAddRect(c, CGRectMake(10, 10, 20, 20));
    CGContextEOClip(c);
    CGContextFillRect(c, CGRectMake(0, 0, 40, 40));
    EXPECT_EQ(pixel(c, 5, 5), kOpaqueBlack);
    EXPECT_EQ(pixel(c, 20, 20), kClear);
}

TEST(Clip, ClipToRectKeepsThePathAndIntersects)
{
    CGContext c = CGBitmapContextCreate(40, 40);
    CGContextAddRect(c, CGRectMake(0, 0, 40, 40));
    CGContextClipToRect(c, CGRectMake(0, 0, 30, 30));
    CGContextClipToRect(c, CGRectMake(10, 10, 30, 30));
    EXPECT_FALSE(CGContextIsPathEmpty(c));
    CGContextFillPath(c);
    EXPECT_EQ(pixel(c, 5, 5), kClear);
    EXPECT_EQ(pixel(c, 20, 20), kOpaqueBlack);
    EXPECT_EQ(pixel(c, 35, 35), kClear);
}

TEST(Paths, LineNeedsACurrentPoint)
{
    CGContext c = CGBitmapContextCreate(10, 10);
    CGContextAddLineToPoint(c, 5, 5);
    EXPECT_TRUE(CGContextIsPathEmpty(c));
    CGContextMoveToPoint(c, 1, 1);
    CGContextAddLineToPoint(c, 5, 5);
    expectPointNear(CGContextGetPathCurrentPoint(c), CGPointMake(5, 5));
}

TEST(Paths, DrawingImagesKeepsThePath)
{
    CGContext source = CGBitmapContextCreate(1, 1);
    CGContextFillRect(source, CGRectMake(0, 0, 1, 1));
    CGContext c = CGBitmapContextCreate(10, 10);
    CGContextMoveToPoint(c, 2, 3);
    CGContextDrawImage(c, CGRectMake(0, 0, 5, 5), CGBitmapContextCreateImage(source));
    expectPointNear(CGContextGetPathCurrentPoint(c), CGPointMake(2, 3));
}
