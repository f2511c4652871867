#include "DrawingTestSupport.h"

#include <graphics/Context.h>
#include <graphics/CurrentContext.h>

#include <gtest/gtest.h>

using namespace graphics;

TEST(BitmapContext, UserSpaceIsInPoints)
{
    CGContext c = CGBitmapContextCreate(20, 10, 2);
    ASSERT_TRUE(c);
    EXPECT_EQ(CGBitmapContextGetWidth(c), 20u);
    EXPECT_EQ(c.scale(), 2);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 5, 5));
    CGImage image = CGBitmapContextCreateImage(c);
    ASSERT_EQ(image.width(), 20);
    ASSERT_EQ(image.height(), 10);
    EXPECT_EQ(image.pixelAt(0, 0), kOpaqueRed);
    EXPECT_EQ(image.pixelAt(9, 9), kOpaqueRed);
    EXPECT_EQ(image.pixelAt(10, 0), kClear);
}

TEST(BitmapContext, ImageIsASnapshot)
{
    CGContext c = CGBitmapContextCreate(4, 4);
    CGImage before = CGBitmapContextCreateImage(c);
    CGContextFillRect(c, CGRectMake(0, 0, 4, 4));
    EXPECT_EQ(before.pixelAt(0, 0), kClear);
    EXPECT_EQ(pixel(c, 0, 0), kOpaqueBlack);
}

TEST(BitmapContext, RefusesUnusableSizes)
{
    EXPECT_FALSE(CGBitmapContextCreate(0, 10));
    EXPECT_FALSE(CGBitmapContextCreate(10, -1));
    EXPECT_FALSE(CGBitmapContextCreate(10, 10, 0));
    EXPECT_FALSE(CGBitmapContextCreateImage(CGContext()));
}

TEST(NullContext, EveryCallIsHarmless)
{
    CGContext none;
    CGContextSaveGState(none);
    CGContextSetAlpha(none, 0.5f);
    CGContextSetRGBFillColor(none, 1, 0, 0, 1);
    CGContextMoveToPoint(none, 0, 0);
    CGContextAddArcToPoint(none, 1, 1, 2, 2, 3);
    CGContextFillRect(none, CGRectMake(0, 0, 1, 1));
    CGContextDrawPath(none, kCGPathFillStroke);
    CGContextClip(none);
    CGContextDrawLinearGradient(none, CGGradient(), CGPointZero, CGPointMake(1, 1), 0);
    CGContextRestoreGState(none);
    EXPECT_TRUE(CGContextIsPathEmpty(none));
    EXPECT_EQ(CGContextGetPathCurrentPoint(none), CGPointZero);
}

TEST(ContextAlpha, MultipliesIntoEachFill)
{
    CGContext c = CGBitmapContextCreate(10, 10);
    CGContextSetAlpha(c, 0.5f);
    CGContextSetRGBFillColor(c, 1, 1, 1, 0.5f);
    CGContextFillRect(c, CGRectMake(0, 0, 10, 10));
    EXPECT_TRUE(near(pixel(c, 5, 5), { 255, 255, 255, 64 }));
}

TEST(ContextAlpha, AppliesPerOperationNotToTheGroup)
{
    // Two overlapping half-transparent fills: the overlap is denser than either, which a group
    // opacity would not give.
    CGContext c = CGBitmapContextCreate(30, 10);
    CGContextSetAlpha(c, 0.5f);
    CGContextFillRect(c, CGRectMake(0, 0, 20, 10));
    CGContextFillRect(c, CGRectMake(10, 0, 20, 10));
    EXPECT_TRUE(near(pixel(c, 5, 5), { 0, 0, 0, 128 }));
    EXPECT_TRUE(near(pixel(c, 15, 5), { 0, 0, 0, 191 }));
}

TEST(ContextAlpha, BlendsOverWhatIsThere)
{
    CGContext c = CGBitmapContextCreate(4, 4);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 4, 4));
    CGContextSetAlpha(c, 0.25f);
    CGContextSetRGBFillColor(c, 0, 0, 1, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 4, 4));
    EXPECT_TRUE(near(pixel(c, 2, 2), { 191, 0, 64, 255 }));
}

TEST(GraphicsState, RestoreBringsBackColoursAlphaLineWidthAndClip)
{
    CGContext c = CGBitmapContextCreate(40, 10);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextSaveGState(c);
    CGContextSetRGBFillColor(c, 0, 0, 1, 1);
    CGContextSetAlpha(c, 0.1f);
    CGContextClipToRect(c, CGRectMake(0, 0, 1, 1));
    CGContextRestoreGState(c);
    CGContextFillRect(c, CGRectMake(0, 0, 40, 10));
    EXPECT_EQ(pixel(c, 30, 5), kOpaqueRed);

    CGContextSetLineWidth(c, 8);
    CGContextSaveGState(c);
    CGContextSetLineWidth(c, 1);
    CGContextRestoreGState(c);
    CGContextSetRGBStrokeColor(c, 0, 0, 1, 1);
    CGContextStrokeRect(c, CGRectMake(10, 5, 20, 20));
    // An 8-point line centred on y = 5 reaches up to y = 1.
    EXPECT_EQ(pixel(c, 20, 2), kOpaqueBlue);
}

TEST(GraphicsState, PathSurvivesSaveAndRestore)
{
    CGContext c = CGBitmapContextCreate(10, 10);
    CGContextSaveGState(c);
    CGContextAddRect(c, CGRectMake(0, 0, 5, 5));
    CGContextRestoreGState(c);
    EXPECT_FALSE(CGContextIsPathEmpty(c));
    CGContextFillPath(c);
    EXPECT_EQ(pixel(c, 2, 2), kOpaqueBlack);
    EXPECT_TRUE(CGContextIsPathEmpty(c));
}

TEST(GraphicsState, UnbalancedRestoreDoesNotBreakTheContext)
{
    CGContext c = CGBitmapContextCreate(10, 10);
    CGContextRestoreGState(c);
    CGContextRestoreGState(c);
    CGContextFillRect(c, CGRectMake(0, 0, 10, 10));
    EXPECT_EQ(pixel(c, 5, 5), kOpaqueBlack);
    EXPECT_EQ(cairo_status(c.cairo()), CAIRO_STATUS_SUCCESS);
}

TEST(GraphicsState, DegenerateScaleDrawsNothingUntilRestored)
{
    CGContext c = CGBitmapContextCreate(10, 10);
    CGContextSaveGState(c);
    CGContextScaleCTM(c, 0, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 10, 10));
    EXPECT_EQ(pixel(c, 5, 5), kClear);
    CGContextRestoreGState(c);
    CGContextFillRect(c, CGRectMake(0, 0, 10, 10));
    EXPECT_EQ(pixel(c, 5, 5), kOpaqueBlack);
    EXPECT_EQ(cairo_status(c.cairo()), CAIRO_STATUS_SUCCESS);
}

TEST(GraphicsState, TranslateAndScaleMoveDrawing)
{
    CGContext c = CGBitmapContextCreate(20, 20);
    CGContextTranslateCTM(c, 10, 0);
    CGContextScaleCTM(c, 2, 2);
    CGContextFillRect(c, CGRectMake(0, 0, 2, 2));
    EXPECT_EQ(pixel(c, 9, 1), kClear);
    EXPECT_EQ(pixel(c, 10, 1), kOpaqueBlack);
    EXPECT_EQ(pixel(c, 13, 3), kOpaqueBlack);
    EXPECT_EQ(pixel(c, 14, 4), kClear);
}

TEST(GraphicsState, AntialiasingCanBeTurnedOff)
{
    CGContext c = CGBitmapContextCreate(10, 10);
    CGContextFillRect(c, CGRectMake(0, 0, 2.5f, 10));
    EXPECT_TRUE(near(pixel(c, 2, 5), { 0, 0, 0, 128 }));
    CGContextClearRect(c, CGRectMake(0, 0, 10, 10));
    CGContextSetShouldAntialias(c, false);
    CGContextFillRect(c, CGRectMake(0, 0, 2.5f, 10));
    PixelRGBA edge = pixel(c, 2, 5);
    EXPECT_TRUE(edge.alpha == 0 || edge.alpha == 255) << edge;
}

TEST(ClearRect, ClearsWithinTheClipAndKeepsThePath)
{
    CGContext c = CGBitmapContextCreate(10, 10);
    CGContextFillRect(c, CGRectMake(0, 0, 10, 10));
    CGContextAddRect(c, CGRectMake(0, 0, 1, 1));
    CGContextSaveGState(c);
    CGContextClipToRect(c, CGRectMake(0, 0, 5, 10));
    CGContextSetAlpha(c, 0.1f);
    CGContextClearRect(c, CGRectMake(0, 0, 10, 10));
    CGContextRestoreGState(c);
    EXPECT_EQ(pixel(c, 2, 5), kClear);
    EXPECT_EQ(pixel(c, 7, 5), kOpaqueBlack);
    EXPECT_FALSE(CGContextIsPathEmpty(c));
}

TEST(WrappedCairoContext, IsHandedBackBalanced)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 10, 10);
    cairo_t* cr = cairo_create(surface);
    {
        CGContext c = CGContextCreateWithCairo(cr);
        CGContextSaveGState(c);
        CGContextSaveGState(c);
        CGContextClipToRect(c, CGRectMake(0, 0, 1, 1));
        CGContextFillRect(c, CGRectMake(0, 0, 10, 10));
    }
    // Both saves were undone: the clip is gone and a further restore is one too many.
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    EXPECT_EQ(x2, 10);
    cairo_restore(cr);
    EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_INVALID_RESTORE);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

TEST(CurrentContext, StackPushesAndPops)
{
    EXPECT_FALSE(currentContext());
    CGContext first = CGBitmapContextCreate(1, 1);
    CGContext second = CGBitmapContextCreate(1, 1);
    pushCurrentContext(first);
    pushCurrentContext(second);
    EXPECT_EQ(currentContext(), second);
    popCurrentContext();
    EXPECT_EQ(currentContext(), first);
    popCurrentContext();
    popCurrentContext();
    EXPECT_FALSE(currentContext());
}
