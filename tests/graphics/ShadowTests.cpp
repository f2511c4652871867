#include "DrawingTestSupport.h"

#include <graphics/Context.h>
#include <graphics/Shadow.h>

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

using namespace graphics;

namespace {

// A black 10 x 10 square at (10, 10) on a 60 x 60 page, casting the given shadow in blue.
CGContext squareWithShadow(CGSize offset, CGFloat blur, CGFloat scale = 1)
{
    int side = static_cast<int>(60 * scale);
    CGContext c = CGBitmapContextCreate(side, side, scale);
    CGContextSetShadowWithColor(c, offset, blur, CGColorCreateRGB(0, 0, 1, 1));
    CGContextFillRect(c, CGRectMake(10, 10, 10, 10));
    return c;
}

int alphaSum(const CGImage& image)
{
    int sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += image.pixelAt(x, y).alpha;
    return sum;
}

} // namespace

TEST(Shadow, SharpShadowSitsAtTheOffsetUnderTheShape)
{
    CGContext c = squareWithShadow(CGSizeMake(20, 15), 0);
    EXPECT_EQ(pixel(c, 15, 15), kOpaqueBlack);
    EXPECT_EQ(pixel(c, 35, 30), kOpaqueBlue);
    EXPECT_EQ(pixel(c, 30, 25), kOpaqueBlue);
    EXPECT_EQ(pixel(c, 29, 30), kClear);
    EXPECT_EQ(pixel(c, 35, 24), kClear);
    EXPECT_EQ(pixel(c, 40, 35), kClear);
}

TEST(Shadow, OffsetIsInPointsOnScaledPages)
{
    CGContext c = squareWithShadow(CGSizeMake(20, 15), 0, 2);
    EXPECT_EQ(pixel(c, 30, 30), kOpaqueBlack);
    EXPECT_EQ(pixel(c, 70, 60), kOpaqueBlue);
    EXPECT_EQ(pixel(c, 59, 60), kClear);
    EXPECT_EQ(pixel(c, 70, 49), kClear);
}

TEST(Shadow, OffsetIgnoresTheTransformation)
{
    CGContext c = CGBitmapContextCreate(60, 60);
    CGContextScaleCTM(c, 2, 2);
    CGContextSetShadowWithColor(c, CGSizeMake(10, 0), 0, CGColorCreateRGB(0, 0, 1, 1));
    CGContextFillRect(c, CGRectMake(5, 5, 5, 5));
    // The square covers 10...20 on the page; its shadow 20...30, not 30...40.
    EXPECT_EQ(pixel(c, 25, 15), kOpaqueBlue);
    EXPECT_EQ(pixel(c, 35, 15), kClear);
}

TEST(Shadow, BlurSpreadsButKeepsTheShadowsWeight)
{
    CGContext c = squareWithShadow(CGSizeMake(25, 25), 6);
    CGImage image = CGBitmapContextCreateImage(c);
    // Spread: pixels beyond the sharp shadow's edge are tinted, fading with distance.
    int edge = image.pixelAt(45, 40).alpha;
    int further = image.pixelAt(48, 40).alpha;
    int centre = image.pixelAt(40, 40).alpha;
    EXPECT_GT(edge, 0);
    EXPECT_GT(further, 0);
    EXPECT_LT(further, edge);
    EXPECT_LT(edge, centre);
    EXPECT_LT(centre, 255);
    // Symmetric about the shadow's centre.
    EXPECT_NEAR(image.pixelAt(32, 40).alpha, image.pixelAt(47, 40).alpha, 2);
    // The blur moves coverage around without adding or losing much: 100 pixels of shadow.
    CGContext shape = CGBitmapContextCreate(60, 60);
    CGContextFillRect(shape, CGRectMake(10, 10, 10, 10));
    int shapeWeight = alphaSum(CGBitmapContextCreateImage(shape));
    EXPECT_NEAR(alphaSum(image) - shapeWeight, 100 * 255, 100 * 255 / 20);
}

TEST(Shadow, ClearColourOrRestoreTurnsItOff)
{
    CGContext c = CGBitmapContextCreate(60, 60);
    CGContextSaveGState(c);
    CGContextSetShadowWithColor(c, CGSizeMake(20, 0), 0, CGColorCreateRGB(0, 0, 1, 1));
    CGContextRestoreGState(c);
    CGContextFillRect(c, CGRectMake(10, 10, 10, 10));
    EXPECT_EQ(pixel(c, 35, 15), kClear);

    CGContextSetShadowWithColor(c, CGSizeMake(20, 0), 0, CGColor());
    CGContextFillRect(c, CGRectMake(10, 30, 10, 10));
    EXPECT_EQ(pixel(c, 35, 35), kClear);
}

TEST(Shadow, TranslucentShapesCastLighterShadows)
{
    CGContext c = CGBitmapContextCreate(60, 60);
    CGContextSetShadowWithColor(c, CGSizeMake(20, 0), 0, CGColorCreateRGB(0, 0, 1, 1));
    CGContextSetAlpha(c, 0.5f);
    CGContextFillRect(c, CGRectMake(10, 10, 10, 10));
    EXPECT_TRUE(near(pixel(c, 35, 15), { 0, 0, 255, 128 }));
    EXPECT_TRUE(near(pixel(c, 15, 15), { 0, 0, 0, 128 }));
}

TEST(Shadow, StaysInsideTheClip)
{
    CGContext c = CGBitmapContextCreate(60, 60);
    CGContextClipToRect(c, CGRectMake(0, 0, 32, 60));
    CGContextSetShadowWithColor(c, CGSizeMake(20, 0), 0, CGColorCreateRGB(0, 0, 1, 1));
    CGContextFillRect(c, CGRectMake(10, 10, 10, 10));
    EXPECT_EQ(pixel(c, 31, 15), kOpaqueBlue);
    EXPECT_EQ(pixel(c, 33, 15), kClear);
}

TEST(BlurAlpha, PreservesWeightAndSymmetry)
{
    const int width = 41, height = 41;
    std::vector<std::uint8_t> plane(width * height, 0);
    for (int y = 18; y < 23; ++y)
        for (int x = 18; x < 23; ++x)
            plane[y * width + x] = 200;
    int before = std::accumulate(plane.begin(), plane.end(), 0);
    blurAlpha(plane.data(), width, height, width, 3, 3);
    int after = std::accumulate(plane.begin(), plane.end(), 0);
    EXPECT_NEAR(after, before, before / 50);
    EXPECT_LT(plane[20 * width + 20], 200);
    EXPECT_EQ(plane[20 * width + 14], plane[20 * width + 26]);
    EXPECT_EQ(plane[14 * width + 20], plane[26 * width + 20]);
    EXPECT_EQ(plane[0], 0);
}

