#include "DrawingTestSupport.h"

#include <graphics/Geometry.h>
#include <graphics/GeometryText.h>

#include <gtest/gtest.h>

#include <string>

using namespace graphics;

namespace {

struct RectText {
    const char* text;
    CGRect expected;
};

} // namespace

TEST(RectFromString, ReadsNumbersLeniently)
{
    const RectText cases[] {
        { "{{-7.75f,-8.75f},{74.5f,76.0f}}", CGRectMake(-7.75f, -8.75f, 74.5f, 76.0f) },
        { "{{0, 0}, {320, 480}}", CGRectMake(0, 0, 320, 480) },
        { "  {{ +1.5 , 2 } , { 3e1 , .5 }}", CGRectMake(1.5f, 2, 30, 0.5f) },
        { "{{-.25,-0},{1,2}}", CGRectMake(-0.25f, 0, 1, 2) },
        { "1 2 3 4", CGRectMake(1, 2, 3, 4) },
        { "x=10;y=20;w=30;h=40", CGRectMake(10, 20, 30, 40) },
        // A lone sign or dot cannot start a number and is skipped.
        { "{{-,2},{3,4,5}}", CGRectMake(2, 3, 4, 5) },
        { "{{. 1},{- 2},{+3},{4}}", CGRectMake(1, 2, 3, 4) },
        // Only the first four numbers count.
        { "{{1,2},{3,4}} {{9,9},{9,9}}", CGRectMake(1, 2, 3, 4) },
        // An exponent without digits ends the number before it.
        { "{{1e,2},{3,4}}", CGRectMake(1, 2, 3, 4) },
    };
    for (const RectText& c : cases)
        EXPECT_EQ(CGRectFromString(c.text), c.expected) << c.text;
}

TEST(RectFromString, MalformedTextGivesTheZeroRectangle)
{
    const char* cases[] {
        "",
        "{{},{}}",
        "garbage",
        "{{1,2},{3}}",
        "{{1, 2}, {3, f}}",
        "{{-inf,0},{1,1}}",
        "{{nan,1},{2,3}}",
        "{{1e999,0},{1,1}}",
        "{{0,0},{1,-1e50}}",
    };
    for (const char* text : cases)
        EXPECT_EQ(CGRectFromString(text), CGRectZero) << text;
}

TEST(RectFromString, PointsAndSizesReadTheSameWay)
{
    EXPECT_EQ(CGPointFromString("{12.5f, -3}"), CGPointMake(12.5f, -3));
    EXPECT_EQ(CGSizeFromString("{74.5f,76.0f}"), CGSizeMake(74.5f, 76));
    EXPECT_EQ(CGPointFromString("{12.5}"), CGPointZero);
    EXPECT_EQ(CGSizeFromString("{1e999, 1}"), CGSizeZero);
}

TEST(RectFromString, TextFormReadsBackExactly)
{
    CGRect rects[] { CGRectMake(-7.75f, -8.75f, 74.5f, 76), CGRectMake(0.1f, 1.0f / 3, 1e-3f, 123456.7f), CGRectZero };
    for (CGRect rect : rects)
        EXPECT_EQ(CGRectFromString(CGRectToString(rect)), rect) << CGRectToString(rect);
    EXPECT_EQ(CGRectToString(CGRectMake(0, -0.0f, 320, 480)), "{{0, 0}, {320, 480}}");
    EXPECT_EQ(CGPointToString(CGPointMake(0.5f, 2)), "{0.5, 2}");
}

TEST(RectIntegral, FloorsTheOriginAndCeilsTheFarEdges)
{
    EXPECT_EQ(CGRectIntegral(CGRectMake(0.5f, 0.5f, 1, 1)), CGRectMake(0, 0, 2, 2));
    // The far edges 110.8 and 20.9 round up, so the width grows by more than the fraction.
    EXPECT_EQ(CGRectIntegral(CGRectMake(10.2f, 20.7f, 100.6f, 0.2f)), CGRectMake(10, 20, 101, 1));
    EXPECT_EQ(CGRectIntegral(CGRectMake(-0.5f, -1.5f, 1, 1)), CGRectMake(-1, -2, 2, 2));
    EXPECT_EQ(CGRectIntegral(CGRectMake(3, 4, 5, 6)), CGRectMake(3, 4, 5, 6));
    EXPECT_EQ(CGRectIntegral(CGRectMake(10, 10, -5.5f, -5.5f)), CGRectMake(4, 4, 6, 6));
    EXPECT_TRUE(CGRectIsNull(CGRectIntegral(CGRectNull)));
}

TEST(RectGeometry, NegativeSizesReadThroughTheStandardForm)
{
    CGRect r = CGRectMake(10, 20, -4, -6);
    EXPECT_EQ(CGRectGetMinX(r), 6);
    EXPECT_EQ(CGRectGetMaxX(r), 10);
    EXPECT_EQ(CGRectGetMidY(r), 17);
    EXPECT_EQ(CGRectGetWidth(r), 4);
    EXPECT_TRUE(CGRectEqualToRect(r, CGRectMake(6, 14, 4, 6)));
    EXPECT_FALSE(CGRectEqualToRect(r, CGRectMake(6, 14, 4, 7)));
}

TEST(RectGeometry, ContainsPointIsHalfOpen)
{
    CGRect r = CGRectMake(0, 0, 10, 10);
    EXPECT_TRUE(CGRectContainsPoint(r, CGPointMake(0, 0)));
    EXPECT_TRUE(CGRectContainsPoint(r, CGPointMake(9.99f, 9.99f)));
    EXPECT_FALSE(CGRectContainsPoint(r, CGPointMake(10, 5)));
    EXPECT_FALSE(CGRectContainsPoint(r, CGPointMake(5, 10)));
    EXPECT_FALSE(CGRectContainsPoint(CGRectMake(0, 0, 0, 10), CGPointMake(0, 5)));
}

TEST(RectGeometry, InsetOffsetIntersectionAndUnion)
{
    EXPECT_EQ(CGRectInset(CGRectMake(0, 0, 100, 50), 2, 3), CGRectMake(2, 3, 96, 44));
    EXPECT_EQ(CGRectInset(CGRectMake(0, 0, 10, 10), -3, 0), CGRectMake(-3, 0, 16, 10));
    EXPECT_TRUE(CGRectIsNull(CGRectInset(CGRectMake(0, 0, 10, 10), 6, 0)));
    EXPECT_EQ(CGRectOffset(CGRectMake(1, 2, 3, 4), 10, -2), CGRectMake(11, 0, 3, 4));

    EXPECT_EQ(CGRectIntersection(CGRectMake(0, 0, 10, 10), CGRectMake(5, 5, 10, 10)), CGRectMake(5, 5, 5, 5));
    EXPECT_TRUE(CGRectIsNull(CGRectIntersection(CGRectMake(0, 0, 10, 10), CGRectMake(20, 0, 5, 5))));
    CGRect touching = CGRectIntersection(CGRectMake(0, 0, 10, 10), CGRectMake(10, 0, 5, 5));
    EXPECT_FALSE(CGRectIsNull(touching));
    EXPECT_TRUE(CGRectIsEmpty(touching));

    EXPECT_EQ(CGRectUnion(CGRectMake(0, 0, 1, 1), CGRectMake(5, 5, 1, 1)), CGRectMake(0, 0, 6, 6));
    EXPECT_EQ(CGRectUnion(CGRectNull, CGRectMake(5, 5, 1, 1)), CGRectMake(5, 5, 1, 1));
    EXPECT_TRUE(CGRectIsNull(CGRectUnion(CGRectNull, CGRectNull)));
    EXPECT_TRUE(CGRectContainsRect(CGRectMake(0, 0, 10, 10), CGRectMake(2, 2, 3, 3)));
    EXPECT_FALSE(CGRectContainsRect(CGRectMake(0, 0, 10, 10), CGRectMake(8, 8, 3, 3)));
}
