#include "UIKitTestSupport.h"

#include <graphics/Context.h>
#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIImage.h>
#include <uikit/UILabel.h>
#include <uikit/UIStringDrawing.h>

using namespace uikit;

namespace {

void expectRGBA(const UIColor& color, float r, float g, float b, float a)
{
    CGFloat red, green, blue, alpha;
    ASSERT_TRUE(color.getRed(&red, &green, &blue, &alpha));
    EXPECT_NEAR(red, r, 0.001);
    EXPECT_NEAR(green, g, 0.001);
    EXPECT_NEAR(blue, b, 0.001);
    EXPECT_NEAR(alpha, a, 0.001);
}

}

TEST(Colors, HueSaturationBrightnessConvertToRGB)
{
    expectRGBA(UIColor::colorWithHue(0, 1, 1, 1), 1, 0, 0, 1);
    expectRGBA(UIColor::colorWithHue(1.0f / 3, 1, 1, 1), 0, 1, 0, 1);
    expectRGBA(UIColor::colorWithHue(2.0f / 3, 1, 1, 0.5f), 0, 0, 1, 0.5f);
    expectRGBA(UIColor::colorWithHue(1, 1, 1, 1), 1, 0, 0, 1);
    expectRGBA(UIColor::colorWithHue(0.5f, 0.5f, 0.8f, 1), 0.4f, 0.8f, 0.8f, 1);
    // Out-of-range values are clamped, so a saturation pushed past 1 stays fully saturated.
    expectRGBA(UIColor::colorWithHue(0, 1.15f, 1, 1), 1, 0, 0, 1);
    expectRGBA(UIColor::colorWithHue(0, 0, 0.5f, 1), 0.5f, 0.5f, 0.5f, 1);
}

TEST(Colors, NamedColoursUseUIKitsSpacesAndValues)
{
    CGFloat white, alpha;
    ASSERT_TRUE(UIColor::grayColor()->getWhite(&white, &alpha));
    EXPECT_FLOAT_EQ(white, 0.5f);
    ASSERT_TRUE(UIColor::lightGrayColor()->getWhite(&white, &alpha));
    EXPECT_NEAR(white, 2.0 / 3, 0.001);
    ASSERT_TRUE(UIColor::darkGrayColor()->getWhite(&white, &alpha));
    EXPECT_NEAR(white, 1.0 / 3, 0.001);
    EXPECT_EQ(UIColor::clearColor()->alpha(), 0);
    EXPECT_EQ(UIColor::redColor()->CGColor().colorSpace().model(), graphics::kCGColorSpaceModelRGB);
    EXPECT_FALSE(UIColor::redColor()->getWhite(&white, &alpha));
    EXPECT_EQ(UIColor::redColor()->description(), "UIDeviceRGBColorSpace 1 0 0 1");
    EXPECT_EQ(UIColor::colorWithWhite(0.5f, 1)->description(), "UIDeviceWhiteColorSpace 0.5 1");
    expectRGBA(UIColor::colorWithRed(0.22f, 0.357f, 0.608f, 1)->colorWithAlphaComponent(0.5f), 0.22f, 0.357f, 0.608f, 0.5f);
    EXPECT_TRUE(UIColor::colorWithRed(1, 0, 0, 1)->isEqual(UIColor::redColor().ptr()));
    EXPECT_FALSE(UIColor::colorWithWhite(1, 1)->isEqual(UIColor::colorWithRed(1, 1, 1, 1).ptr())) << "different spaces";
}

TEST(Colors, SetMakesTheColourCurrentForFillAndStroke)
{
    UIColor::blueColor()->setFill(); // no context: nothing happens, nothing breaks
    UIGraphicsBeginImageContextWithOptions({ 4, 4 }, false, 1);
    auto context = UIGraphicsGetCurrentContext();
    UIColor::colorWithRed(0, 1, 0, 1)->set();
    graphics::CGContextFillRect(context, { { 0, 0 }, { 2, 4 } });
    graphics::CGContextSetLineWidth(context, 1);
    graphics::CGContextStrokeRect(context, { { 2.5f, 0.5f }, { 1, 3 } });
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(image->CGImage().pixelAt(0, 0), (graphics::PixelRGBA { 0, 255, 0, 255 }));
    EXPECT_EQ(image->CGImage().pixelAt(2, 2).green, 255);
}

TEST(Fonts, SystemFontsAndNamedFonts)
{
    auto bold = UIFont::boldSystemFontOfSize(14);
    EXPECT_TRUE(bold->isBold());
    EXPECT_EQ(bold->familyName(), "Nimbus Sans");
    EXPECT_EQ(bold->pointSize(), 14);
    auto named = UIFont::fontWithName("Helvetica-Bold", 14);
    ASSERT_TRUE(named);
    EXPECT_TRUE(named->isEqual(bold.ptr()));
    EXPECT_EQ(named->fontName(), "Helvetica-Bold");
    EXPECT_FALSE(UIFont::fontWithName("", 12));
    EXPECT_FALSE(UIFont::fontWithName("Helvetica", 0));
    EXPECT_GT(UIFont::systemFontOfSize(17)->lineHeight(), 17);
}

TEST(StringDrawing, MeasuresAndTruncatesAtTheTail)
{
    auto font = UIFont::systemFontOfSize(14);
    CGSize short_ = sizeWithFont("Kill", *font);
    CGSize longer = sizeWithFont("Kill them all", *font);
    EXPECT_GT(short_.width, 0);
    EXPECT_GT(longer.width, short_.width);
    EXPECT_EQ(short_.height, longer.height);
    EXPECT_EQ(short_.width, std::ceil(short_.width)) << "whole points";

    CGSize cut = sizeWithFontForWidth("Kill them all", *font, 40, UILineBreakModeTailTruncation);
    EXPECT_LE(cut.width, 40);

    CGSize wrapped = sizeWithFontConstrainedToSize("one two three four five six seven", *font, { 60, 1000 });
    EXPECT_LE(wrapped.width, 60);
    EXPECT_GE(wrapped.height, 3 * short_.height);
    CGSize limited = sizeWithFontConstrainedToSize("one two three four five six seven", *font, { 60, short_.height * 2 + 1 });
    EXPECT_LE(limited.height, short_.height * 2 + 1);

    // Drawing returns the size drawn and draws in the fill colour.
    UIGraphicsBeginImageContextWithOptions({ 100, 20 }, false, 1);
    UIColor::blackColor()->set();
    CGSize drawn = drawAtPointForWidth("Kill them all, every one", { 0, 0 }, 50, *font, UILineBreakModeTailTruncation);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_LE(drawn.width, 50);
    int inkRight = 0;
    for (int x = 0; x < 100; ++x) {
        for (int y = 0; y < 20; ++y) {
            if (image->CGImage().pixelAt(x, y).alpha > 0)
                inkRight = x;
        }
    }
    EXPECT_GT(inkRight, 10);
    EXPECT_LT(inkRight, 50);
}

// A title too wide for its label shrinks to fit when the label allows it, never below its
// minimum, and only then is truncated; a label that does not adjust keeps its size and truncates.
TEST(Labels, ShrinkToFitDownToTheMinimumThenTruncate)
{
    auto label = UILabel::create({ { 0, 0 }, { 191, 44 } });
    label->setFont(UIFont::boldSystemFontOfSize(17));
    label->setText("Confirm Clearing Badges");
    ASSERT_GT(sizeWithFont("Confirm Clearing Badges", label->font()).width, 191);
    EXPECT_EQ(label->fontFittingWidth(191)->pointSize(), 17) << "off by default";

    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(12);
    auto fitted = label->fontFittingWidth(191);
    EXPECT_LT(fitted->pointSize(), 17);
    EXPECT_GE(fitted->pointSize(), 12);
    EXPECT_TRUE(fitted->isBold());
    EXPECT_LE(sizeWithFont("Confirm Clearing Badges", fitted).width, 191);
    EXPECT_LE(label->textRectForBounds(label->bounds(), 1).size.width, 191);

    // Far too long: the minimum holds, and the text is cut to the width.
    label->setText("Confirm Clearing Badges On Every Page Of The Home Screen");
    EXPECT_EQ(label->fontFittingWidth(191)->pointSize(), 12);
    EXPECT_LE(label->textRectForBounds(label->bounds(), 1).size.width, 191);
}

TEST(Labels, DefaultsAndFittingSize)
{
    auto label = UILabel::create({ { 0, 0 }, { 100, 30 } });
    EXPECT_EQ(label->font().pointSize(), 17);
    EXPECT_EQ(label->numberOfLines(), 1);
    EXPECT_EQ(label->lineBreakMode(), UILineBreakModeTailTruncation);
    EXPECT_FALSE(label->isUserInteractionEnabled());
    ASSERT_TRUE(label->backgroundColor());
    EXPECT_TRUE(label->backgroundColor()->isEqual(UIColor::whiteColor().ptr()));

    label->setText("Photos");
    label->setFont(UIFont::boldSystemFontOfSize(14));
    EXPECT_EQ(label->sizeThatFits({ 0, 0 }), sizeWithFont("Photos", label->font()));

    label->setTextAlignment(UITextAlignmentRight);
    CGRect right = label->textRectForBounds(label->bounds(), 1);
    EXPECT_NEAR(right.origin.x + right.size.width, 100, 0.01);
    EXPECT_NEAR(right.origin.y + right.size.height / 2, 15, 0.51);
    label->setTextAlignment(UITextAlignmentCenter);
    CGRect centred = label->textRectForBounds(label->bounds(), 1);
    EXPECT_NEAR(centred.origin.x + centred.size.width / 2, 50, 0.51);

    label->setNumberOfLines(0);
    label->setText("one two three four five six seven eight nine ten");
    CGSize fits = label->sizeThatFits({ 100, 0 });
    EXPECT_LE(fits.width, 100);
    EXPECT_GT(fits.height, 2 * label->font().lineHeight());
}
