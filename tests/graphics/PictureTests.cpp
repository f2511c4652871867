// Picture tests: each draws a small scene and compares it with a reference PNG under
// tests/graphics/references/. Rule: every channel within 8 of the reference on at least 99.5% of the
// pixels (kPictureChannelTolerance / kPictureDifferingShare). Run with TORVANE_WRITE_REFERENCES=1 to
// rewrite the references after a deliberate change, and look at them before committing.

#include "DrawingTestSupport.h"

#include <graphics/Context.h>
#include <graphics/ImageCompare.h>
#include <graphics/TextLayout.h>

#include <gtest/gtest.h>

#include <string>

using namespace graphics;

namespace {

void expectMatchesReference(const CGContext& c, const std::string& name)
{
    ReferenceCheck check = checkAgainstReference(CGBitmapContextCreateImage(c),
        std::string(TORVANE_GRAPHICS_REFERENCES) + "/" + name + ".png");
    EXPECT_TRUE(check.passed) << name << ": " << check.message;
}

void addRoundedRect(const CGContext& c, CGRect r, CGFloat radius)
{
    CGContextMoveToPoint(c, CGRectGetMinX(r), CGRectGetMidY(r));
    CGContextAddArcToPoint(c, CGRectGetMinX(r), CGRectGetMinY(r), CGRectGetMidX(r), CGRectGetMinY(r), radius);
    CGContextAddArcToPoint(c, CGRectGetMaxX(r), CGRectGetMinY(r), CGRectGetMaxX(r), CGRectGetMidY(r), radius);
    CGContextAddArcToPoint(c, CGRectGetMaxX(r), CGRectGetMaxY(r), CGRectGetMidX(r), CGRectGetMaxY(r), radius);
    CGContextAddArcToPoint(c, CGRectGetMinX(r), CGRectGetMaxY(r), CGRectGetMinX(r), CGRectGetMidY(r), radius);
    CGContextClosePath(c);
}

CGGradient twoColourGradient(ColorRGBA from, ColorRGBA to)
{
    const CGFloat components[] { CGFloat(from.red), CGFloat(from.green), CGFloat(from.blue), CGFloat(from.alpha),
        CGFloat(to.red), CGFloat(to.green), CGFloat(to.blue), CGFloat(to.alpha) };
    const CGFloat locations[] { 0, 1 };
    return CGGradientCreateWithColorComponents(CGColorSpaceCreateDeviceRGB(), components, locations, 2);
}

} // namespace

TEST(Pictures, RoundedRectangleFilledAndStroked)
{
    CGContext c = CGBitmapContextCreate(240, 160, 2);
    CGContextSetAlpha(c, 0.8f);
    CGContextSetLineWidth(c, 2);
    CGContextSetRGBStrokeColor(c, 0.8f, 0.8f, 0.8f, 0.8f);
    CGContextSetRGBFillColor(c, 0, 0, 0, 1);
    addRoundedRect(c, CGRectMake(2, 2, 116, 76), 8);
    CGContextDrawPath(c, kCGPathFillStroke);
    // A second, tighter one with a large radius, stroked only, in blue.
    CGContextSetAlpha(c, 1);
    CGContextSetRGBStrokeColor(c, 0.22f, 0.357f, 0.608f, 1);
    addRoundedRect(c, CGRectMake(20, 20, 80, 40), 20);
    CGContextStrokePath(c);
    expectMatchesReference(c, "rounded_rect");
}

TEST(Pictures, LinearGradientExtensions)
{
    // Four bands, gradient axis from x = 50 to x = 110 in each: no extension, before the start,
    // after the end, both. Outside the drawn parts the grey background shows.
    CGContext c = CGBitmapContextCreate(160, 80);
    CGContextSetGrayFillColor(c, 0.85f, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 160, 80));
    CGGradient gradient = twoColourGradient({ 0.1, 0.2, 0.8, 1 }, { 1, 0.6, 0.1, 1 });
    const unsigned options[] { 0, kCGGradientDrawsBeforeStartLocation, kCGGradientDrawsAfterEndLocation,
        kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation };
    for (int band = 0; band < 4; ++band) {
        CGContextSaveGState(c);
        CGContextClipToRect(c, CGRectMake(0, band * 20 + 2, 160, 16));
        CGContextDrawLinearGradient(c, gradient, CGPointMake(50, 0), CGPointMake(110, 0), options[band]);
        CGContextRestoreGState(c);
    }
    expectMatchesReference(c, "gradient_extend");
}

TEST(Pictures, EllipseClipWithGlossyHighlight)
{
    // A dark panel whose top carries a white highlight clipped to a wide, flat ellipse, drawn
    // without extension so it stops a fifth of the way down.
    CGContext c = CGBitmapContextCreate(300, 200, 2);
    CGRect rect = CGRectMake(0, 0, 150, 100);
    CGContextSetRGBFillColor(c, 0.1f, 0.1f, 0.15f, 1);
    CGContextFillRect(c, rect);
    CGContextSaveGState(c);
    CGContextAddEllipseInRect(c, CGRectMake(-65, -57.5f, 300, 75));
    CGContextClip(c);
    CGGradient gloss = twoColourGradient({ 1, 1, 1, 0.35 }, { 1, 1, 1, 0.06 });
    CGContextDrawLinearGradient(c, gloss, CGPointMake(0, 0), CGPointMake(0, 20), 0);
    CGContextRestoreGState(c);
    // A ring clipped even-odd, to show both clip rules in one picture.
    CGContextSaveGState(c);
    CGContextAddEllipseInRect(c, CGRectMake(50, 40, 50, 50));
    CGContextAddEllipseInRect(c, CGRectMake(62, 52, 26, 26));
    CGContextEOClip(c);
    CGContextSetRGBFillColor(c, 0.694f, 0.184f, 0.196f, 1);
    CGContextFillRect(c, rect);
    CGContextRestoreGState(c);
    expectMatchesReference(c, "ellipse_clip");
}

TEST(Pictures, EllipsisedText)
{
    CGContext c = CGBitmapContextCreate(520, 280, 2);
    CGContextSetGrayFillColor(c, 1, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 260, 140));
    CGContextSetGrayFillColor(c, 0, 1);
    const std::string name = "Extraordinarily Long Application Name";
    drawText(c, name, CGPointMake(40, 9.5f), 116, Font::boldSystemFont(18), LineBreakMode::TailTruncation);
    drawText(c, "123 MB", CGPointMake(157, 11), 95, Font::systemFont(16), LineBreakMode::TailTruncation);
    drawText(c, name, CGPointMake(10, 40), 120, Font::systemFont(14), LineBreakMode::HeadTruncation);
    drawText(c, name, CGPointMake(135, 40), 120, Font::systemFont(14), LineBreakMode::MiddleTruncation);
    CGContextSetRGBFillColor(c, 0.22f, 0.357f, 0.608f, 1);
    drawText(c, "Would you like to remove the badge on this icon? It will be cleared at once.",
        CGRectMake(20, 65, 220, 70), Font::systemFont(15), LineBreakMode::TailTruncation, TextAlignment::Center);
    expectMatchesReference(c, "text_ellipsis");
}

TEST(Pictures, BlurredShadow)
{
    CGContext c = CGBitmapContextCreate(240, 160, 2);
    CGContextSetGrayFillColor(c, 1, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 120, 80));
    CGContextSaveGState(c);
    CGContextSetShadowWithColor(c, CGSizeMake(4, 6), 8, CGColorCreateGray(0, 0.6f));
    CGContextSetRGBFillColor(c, 0.22f, 0.357f, 0.608f, 1);
    addRoundedRect(c, CGRectMake(20, 15, 80, 40), 6);
    CGContextFillPath(c);
    CGContextRestoreGState(c);
    CGContextSetShadowWithColor(c, CGSizeMake(0, -1), 0, CGColorCreateGray(0, 0.5f));
    CGContextSetGrayFillColor(c, 1, 1);
    drawText(c, "Kill", CGRectMake(20, 25, 80, 20), Font::boldSystemFont(14), LineBreakMode::TailTruncation,
        TextAlignment::Center);
    expectMatchesReference(c, "shadow");
}
