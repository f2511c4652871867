#include "DrawingTestSupport.h"

#include <graphics/Context.h>
#include <graphics/Gradient.h>

#include <gtest/gtest.h>

using namespace graphics;

namespace {

// Black to white.
CGGradient blackToWhite()
{
    const CGFloat components[] { 0, 0, 0, 1, 1, 1, 1, 1 };
    const CGFloat locations[] { 0, 1 };
    return CGGradientCreateWithColorComponents(CGColorSpaceCreateDeviceRGB(), components, locations, 2);
}

// A 60 x 10 red strip with the gradient drawn horizontally from x = 20 to x = 40.
CGContext stripWithGradient(unsigned options, CGFloat alpha = 1)
{
    CGContext c = CGBitmapContextCreate(60, 10);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 60, 10));
    CGContextSetAlpha(c, alpha);
    CGContextDrawLinearGradient(c, blackToWhite(), CGPointMake(20, 5), CGPointMake(40, 5), options);
    return c;
}

} // namespace

TEST(LinearGradient, WithoutOptionsLeavesPixelsOutsideTheAxisUntouched)
{
    CGContext c = stripWithGradient(0);
    for (int x : { 0, 10, 18, 41, 50, 59 })
        EXPECT_EQ(pixel(c, x, 5), kOpaqueRed) << "x = " << x;
    EXPECT_TRUE(near(pixel(c, 20, 5), { 6, 6, 6, 255 }, 6));
    EXPECT_TRUE(near(pixel(c, 30, 5), { 134, 134, 134, 255 }, 6));
    EXPECT_TRUE(near(pixel(c, 39, 5), { 249, 249, 249, 255 }, 6));
}

TEST(LinearGradient, ExtendsOnlyOnTheRequestedSide)
{
    CGContext before = stripWithGradient(kCGGradientDrawsBeforeStartLocation);
    EXPECT_EQ(pixel(before, 0, 5), kOpaqueBlack);
    EXPECT_EQ(pixel(before, 19, 5), kOpaqueBlack);
    EXPECT_EQ(pixel(before, 45, 5), kOpaqueRed);
    EXPECT_EQ(pixel(before, 59, 5), kOpaqueRed);

    CGContext after = stripWithGradient(kCGGradientDrawsAfterEndLocation);
    EXPECT_EQ(pixel(after, 0, 5), kOpaqueRed);
    EXPECT_EQ(pixel(after, 19, 5), kOpaqueRed);
    EXPECT_EQ(pixel(after, 41, 5), kOpaqueWhite);
    EXPECT_EQ(pixel(after, 59, 5), kOpaqueWhite);

    CGContext both = stripWithGradient(kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
    EXPECT_EQ(pixel(both, 0, 5), kOpaqueBlack);
    EXPECT_EQ(pixel(both, 59, 5), kOpaqueWhite);
    EXPECT_TRUE(near(pixel(both, 30, 5), { 134, 134, 134, 255 }, 6));
}

TEST(LinearGradient, OneSidedExtensionLeavesNoSeam)
{
    // The extension and the gradient meet at the start without a gap or a double-painted column.
    CGContext c = CGBitmapContextCreate(60, 10);
    const CGFloat components[] { 0, 0, 1, 0.5f, 0, 0, 1, 0.5f };
    CGGradient flat = CGGradientCreateWithColorComponents(CGColorSpaceCreateDeviceRGB(), components, nullptr, 2);
    CGContextDrawLinearGradient(c, flat, CGPointMake(20, 5), CGPointMake(40, 5), kCGGradientDrawsBeforeStartLocation);
    for (int x = 0; x < 40; ++x)
        EXPECT_TRUE(near(pixel(c, x, 5), { 0, 0, 255, 128 })) << "x = " << x;
    EXPECT_EQ(pixel(c, 45, 5), kClear);
}

TEST(LinearGradient, AlphaMultipliesIntoTheStops)
{
    CGContext c = CGBitmapContextCreate(60, 10);
    CGContextSetAlpha(c, 0.5f);
    CGContextDrawLinearGradient(c, blackToWhite(), CGPointMake(0, 0), CGPointMake(60, 0), 0);
    // Pixel centres 1.5 and 58.5 of 60: grey levels 6 and 249, at half alpha.
    EXPECT_TRUE(near(pixel(c, 1, 5), { 6, 6, 6, 128 }, 4));
    EXPECT_TRUE(near(pixel(c, 58, 5), { 249, 249, 249, 128 }, 4));
}

TEST(LinearGradient, StaysInsideTheClip)
{
    CGContext c = CGBitmapContextCreate(60, 10);
    CGContextClipToRect(c, CGRectMake(0, 0, 30, 10));
    CGContextDrawLinearGradient(c, blackToWhite(), CGPointMake(0, 0), CGPointMake(60, 0),
        kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
    EXPECT_EQ(pixel(c, 29, 5).alpha, 255);
    EXPECT_EQ(pixel(c, 31, 5), kClear);
}

TEST(LinearGradient, ZeroLengthAxisOrNullGradientDrawsNothing)
{
    CGContext c = CGBitmapContextCreate(10, 10);
    CGContextDrawLinearGradient(c, blackToWhite(), CGPointMake(5, 5), CGPointMake(5, 5),
        kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
    CGContextDrawLinearGradient(c, CGGradient(), CGPointMake(0, 0), CGPointMake(10, 0),
        kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation);
    EXPECT_EQ(pixel(c, 5, 5), kClear);
}

TEST(RadialGradient, ExtensionsFollowTheCircles)
{
    const CGFloat components[] { 1, 0, 0, 1, 0, 0, 1, 1 };
    CGGradient redToBlue = CGGradientCreateWithColorComponents(CGColorSpaceCreateDeviceRGB(), components, nullptr, 2);

    CGContext plain = CGBitmapContextCreate(40, 40);
    CGContextDrawRadialGradient(plain, redToBlue, CGPointMake(20, 20), 5, CGPointMake(20, 20), 10, 0);
    EXPECT_EQ(pixel(plain, 20, 20), kClear);
    EXPECT_EQ(pixel(plain, 37, 20), kClear);
    EXPECT_EQ(pixel(plain, 27, 20).alpha, 255);

    CGContext inside = CGBitmapContextCreate(40, 40);
    CGContextDrawRadialGradient(inside, redToBlue, CGPointMake(20, 20), 5, CGPointMake(20, 20), 10,
        kCGGradientDrawsBeforeStartLocation);
    EXPECT_EQ(pixel(inside, 20, 20), kOpaqueRed);
    EXPECT_EQ(pixel(inside, 37, 20), kClear);

    CGContext outside = CGBitmapContextCreate(40, 40);
    CGContextDrawRadialGradient(outside, redToBlue, CGPointMake(20, 20), 5, CGPointMake(20, 20), 10,
        kCGGradientDrawsAfterEndLocation);
    EXPECT_EQ(pixel(outside, 20, 20), kClear);
    EXPECT_EQ(pixel(outside, 37, 20), kOpaqueBlue);
}

TEST(GradientCreation, StopsFromComponentsOrColours)
{
    const CGFloat gray[] { 0, 1, 1, 0.5f, 0.5f, 1 };
    CGGradient g = CGGradientCreateWithColorComponents(CGColorSpaceCreateDeviceGray(), gray, nullptr, 3);
    ASSERT_EQ(g.stops().size(), 3u);
    EXPECT_EQ(g.stops()[1].location, 0.5f);
    EXPECT_EQ(g.stops()[1].color, (ColorRGBA { 1, 1, 1, 0.5 }));
    EXPECT_EQ(g.stops()[2].location, 1);

    const CGFloat locations[] { 1, 0 };
    CGGradient fromColors = CGGradientCreateWithColors(CGColorSpaceCreateDeviceRGB(),
        { CGColorCreateRGB(1, 0, 0, 1), CGColorCreateGray(0, 1) }, locations);
    ASSERT_EQ(fromColors.stops().size(), 2u);
    EXPECT_EQ(fromColors.stops()[0].color, (ColorRGBA { 0, 0, 0, 1 }));

    EXPECT_FALSE(CGGradientCreateWithColorComponents(CGColorSpaceCreateDeviceRGB(), gray, nullptr, 0));
    EXPECT_FALSE(CGGradientCreateWithColors(CGColorSpaceCreateDeviceRGB(), {}, nullptr));
}
