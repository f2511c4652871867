#include "DrawingTestSupport.h"

#include <graphics/Font.h>
#include <graphics/TextLayout.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace graphics;

namespace {

const std::string kLongName = "Extraordinarily Long Application Name";

// Horizontal extent of inked pixels in the image: {first, last} column, or {-1, -1}.
std::pair<int, int> inkColumns(const CGImage& image)
{
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelAt(x, y).alpha > 32) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return { first, last };
}

} // namespace

TEST(Font, MetricsDescribeOneLine)
{
    FontMetrics metrics = fontMetrics(Font::boldSystemFont(14));
    EXPECT_GT(metrics.ascender, 10);
    EXPECT_LT(metrics.descender, 0);
    EXPECT_FLOAT_EQ(metrics.lineHeight, metrics.ascender - metrics.descender);
    // Points, not pixels at some other resolution: a 14-point line is a little over 14 points.
    EXPECT_GT(metrics.lineHeight, 14);
    EXPECT_LT(metrics.lineHeight, 20);
    EXPECT_NEAR(fontMetrics(Font::systemFont(28)).lineHeight, 2 * fontMetrics(Font::systemFont(14)).lineHeight, 1);
}

TEST(Font, SystemFontHasHelveticasAdvanceWidths)
{
    // Helvetica's advance widths in thousandths of the point size, regular and bold. Text must take
    // the width it takes on the device, or labels that fit there are cut here. The strings have no
    // kerning pairs, so their width is the sum of the advances.
    struct Case {
        Font font;
        const char* text;
        int thousandths;
    };
    const Case cases[] = {
        { Font::systemFont(100), "Minimum", 833 + 222 + 556 + 222 + 833 + 556 + 833 },
        { Font::boldSystemFont(100), "Minimum", 833 + 278 + 611 + 278 + 889 + 611 + 889 },
        { Font::systemFont(100), "Kill", 667 + 222 + 222 + 222 },
        { Font::boldSystemFont(100), "Kill", 722 + 278 + 278 + 278 },
    };
    for (const Case& c : cases) {
        CGFloat expected = c.thousandths * c.font.pointSize / 1000;
        EXPECT_NEAR(sizeOfText(c.text, c.font).width, expected, expected * 0.01 + 1) << c.text << (c.font.bold ? " bold" : "");
    }
}

TEST(TextMeasure, SizesAreWholePointsAndGrowWithTheText)
{
    CGSize kill = sizeOfText("Kill", Font::boldSystemFont(14));
    EXPECT_GT(kill.width, 20);
    EXPECT_LT(kill.width, 40);
    EXPECT_EQ(kill.width, std::floor(kill.width));
    EXPECT_NEAR(kill.height, fontMetrics(Font::boldSystemFont(14)).lineHeight, 1.5);
    EXPECT_GT(sizeOfText("Kill", Font::boldSystemFont(14)).width, sizeOfText("Kill", Font::systemFont(14)).width);
    EXPECT_GT(sizeOfText("WWWW", Font::systemFont(14)).width, sizeOfText("iiii", Font::systemFont(14)).width);
    EXPECT_EQ(sizeOfText("", Font::systemFont(14)).width, 0);
}

TEST(TextMeasure, BrokenUTF8IsMeasuredNotDropped)
{
    CGSize size = sizeOfText("Mail\xff\xfe App", Font::systemFont(14));
    EXPECT_GT(size.width, sizeOfText("Mail App", Font::systemFont(14)).width);
}

TEST(SingleLine, TailTruncationEndsWithinTheWidth)
{
    Font font = Font::boldSystemFont(18);
    ASSERT_GT(sizeOfText(kLongName, font).width, 116);
    TextLayout layout = TextLayout::singleLine(kLongName, font, 116, LineBreakMode::TailTruncation);
    EXPECT_TRUE(layout.isEllipsized());
    EXPECT_LE(layout.size().width, 116);
    EXPECT_GT(layout.size().width, 80);

    CGContext c = CGBitmapContextCreate(200, 30, 2);
    CGSize drawn = drawText(c, kLongName, CGPointMake(40, 9.5f), 116, font, LineBreakMode::TailTruncation);
    EXPECT_EQ(drawn, layout.size());
    auto [first, last] = inkColumns(CGBitmapContextCreateImage(c));
    EXPECT_GE(first, 80);
    EXPECT_LT(last, 2 * 156);
}

TEST(SingleLine, TextThatFitsIsLeftWhole)
{
    Font font = Font::systemFont(16);
    TextLayout layout = TextLayout::singleLine("12 MB", font, 95, LineBreakMode::TailTruncation);
    EXPECT_FALSE(layout.isEllipsized());
    EXPECT_EQ(layout.size(), sizeOfText("12 MB", font));
}

TEST(SingleLine, ClipModeCutsAtTheWidthWithoutEllipsis)
{
    Font font = Font::systemFont(16);
    TextLayout layout = TextLayout::singleLine(kLongName, font, 60, LineBreakMode::Clip);
    EXPECT_FALSE(layout.isEllipsized());
    EXPECT_EQ(layout.size().width, 60);
    CGContext c = CGBitmapContextCreate(200, 30);
    layout.draw(c, CGPointMake(10, 5));
    auto [first, last] = inkColumns(CGBitmapContextCreateImage(c));
    EXPECT_GE(first, 10);
    EXPECT_LT(last, 70);
    EXPECT_GT(last, 60);
}

TEST(TextInBox, WrapsAtWordsAndKeepsWholeLines)
{
    Font font = Font::systemFont(14);
    CGFloat line = sizeOfText("X", font).height;
    TextLayout two = TextLayout::inBox("Would you like to remove the badge on this icon?", font, CGSizeMake(200, 1000),
        LineBreakMode::WordWrap);
    EXPECT_EQ(two.lineCount(), 2);
    EXPECT_NEAR(two.size().height, 2 * line, 1);
    EXPECT_LE(two.size().width, 200);

    // A box one and a half lines high keeps one whole line.
    TextLayout one = TextLayout::inBox("Would you like to remove the badge on this icon?", font,
        CGSizeMake(200, line * 1.5f), LineBreakMode::WordWrap);
    EXPECT_EQ(one.lineCount(), 1);
    EXPECT_NEAR(one.size().height, line, 1);
    EXPECT_FALSE(one.isEllipsized());

    TextLayout truncated = TextLayout::inBox("Would you like to remove the badge on this icon?", font,
        CGSizeMake(200, line * 1.5f), LineBreakMode::TailTruncation);
    EXPECT_EQ(truncated.lineCount(), 1);
    EXPECT_TRUE(truncated.isEllipsized());

    TextLayout limited = TextLayout::inBox("one two three four five six seven eight nine ten", font, CGSizeMake(60, 1000),
        LineBreakMode::TailTruncation, TextAlignment::Left, 2);
    EXPECT_EQ(limited.lineCount(), 2);
    EXPECT_TRUE(limited.isEllipsized());
}

TEST(TextInBox, AlwaysKeepsTheFirstLine)
{
    TextLayout layout = TextLayout::inBox("Dismiss", Font::systemFont(14), CGSizeMake(200, 3), LineBreakMode::Clip);
    EXPECT_EQ(layout.lineCount(), 1);
    EXPECT_GT(layout.size().height, 3);
    EXPECT_EQ(TextLayout::inBox("Dismiss", Font::systemFont(14), CGSizeMake(0, 100), LineBreakMode::Clip).size().width, 0);
}

TEST(TextInBox, CentredTextSitsInTheMiddle)
{
    CGContext c = CGBitmapContextCreate(200, 40);
    CGSize drawn = drawText(c, "Dismiss", CGRectMake(0, 5, 200, 30), Font::systemFont(14), LineBreakMode::TailTruncation,
        TextAlignment::Center);
    auto [first, last] = inkColumns(CGBitmapContextCreateImage(c));
    ASSERT_GE(first, 0);
    EXPECT_NEAR(first, 199 - last, 3);
    EXPECT_NEAR(last - first, drawn.width, 3);

    CGContext r = CGBitmapContextCreate(200, 40);
    drawText(r, "Dismiss", CGRectMake(0, 5, 200, 30), Font::systemFont(14), LineBreakMode::TailTruncation,
        TextAlignment::Right);
    EXPECT_GT(inkColumns(CGBitmapContextCreateImage(r)).second, 195);
}

TEST(TextDrawing, UsesTheFillColourAndAlpha)
{
    CGContext c = CGBitmapContextCreate(100, 30);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextSetAlpha(c, 0.5f);
    drawText(c, "IIII", CGPointMake(5, 5), Font::boldSystemFont(20));
    CGImage image = CGBitmapContextCreateImage(c);
    int strongest = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            PixelRGBA p = image.pixelAt(x, y);
            if (p.alpha > 0) {
                EXPECT_GT(p.red, 240);
                EXPECT_LT(p.green, 16);
            }
            strongest = std::max<int>(strongest, p.alpha);
        }
    EXPECT_NEAR(strongest, 128, 2);
}

TEST(TextDrawing, StartsAtThePointAndKeepsThePath)
{
    CGContext c = CGBitmapContextCreate(100, 40);
    CGContextMoveToPoint(c, 1, 2);
    drawText(c, "Kill", CGPointMake(30, 10), Font::boldSystemFont(14));
    EXPECT_EQ(CGContextGetPathCurrentPoint(c), CGPointMake(1, 2));
    CGImage image = CGBitmapContextCreateImage(c);
    auto [first, last] = inkColumns(image);
    EXPECT_GE(first, 30);
    EXPECT_LE(first, 33);
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 10; ++y)
            ASSERT_EQ(image.pixelAt(x, y).alpha, 0) << x << ", " << y;
}
