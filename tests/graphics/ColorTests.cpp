#include <graphics/Color.h>
#include <graphics/ColorSpace.h>

#include <gtest/gtest.h>

using namespace graphics;

TEST(ColorSpace, ModelsAndComponentCounts)
{
    EXPECT_EQ(CGColorSpaceGetModel(CGColorSpaceCreateDeviceGray()), kCGColorSpaceModelMonochrome);
    EXPECT_EQ(CGColorSpaceGetModel(CGColorSpaceCreateDeviceRGB()), kCGColorSpaceModelRGB);
    EXPECT_EQ(CGColorSpaceGetModel(CGColorSpaceCreateDeviceCMYK()), kCGColorSpaceModelCMYK);
    EXPECT_EQ(CGColorSpaceGetModel(CGColorSpace()), kCGColorSpaceModelUnknown);
    EXPECT_EQ(CGColorSpaceGetNumberOfComponents(CGColorSpaceCreateDeviceGray()), 1u);
    EXPECT_EQ(CGColorSpaceGetNumberOfComponents(CGColorSpaceCreateDeviceRGB()), 3u);
    EXPECT_EQ(CGColorSpaceGetNumberOfComponents(CGColorSpaceCreateDeviceCMYK()), 4u);
    EXPECT_EQ(kCGColorSpaceModelPattern, 6);
    EXPECT_EQ(kCGColorSpaceModelIndexed, 5);
}

TEST(Color, ComponentsFollowTheModel)
{
    const CGFloat gray[] { 0.25f, 0.5f };
    CGColor mono = CGColorCreate(CGColorSpaceCreateDeviceGray(), gray);
    ASSERT_EQ(CGColorGetNumberOfComponents(mono), 2u);
    EXPECT_EQ(CGColorGetComponents(mono)[0], 0.25f);
    EXPECT_EQ(CGColorGetAlpha(mono), 0.5f);
    EXPECT_EQ(CGColorSpaceGetModel(CGColorGetColorSpace(mono)), kCGColorSpaceModelMonochrome);

    const CGFloat rgb[] { 0.22f, 0.357f, 0.608f, 1 };
    CGColor tint = CGColorCreate(CGColorSpaceCreateDeviceRGB(), rgb);
    ASSERT_EQ(CGColorGetNumberOfComponents(tint), 4u);
    EXPECT_EQ(CGColorGetComponents(tint)[2], 0.608f);
    EXPECT_EQ(CGColorGetAlpha(tint), 1);

    const CGFloat cmyk[] { 0, 1, 1, 0, 0.75f };
    CGColor red = CGColorCreate(CGColorSpaceCreateDeviceCMYK(), cmyk);
    ASSERT_EQ(CGColorGetNumberOfComponents(red), 5u);
    EXPECT_EQ(CGColorGetAlpha(red), 0.75f);
    EXPECT_EQ(red.rgba(), (ColorRGBA { 1, 0, 0, 0.75 }));
}

TEST(Color, DeviceRGBOfEachModel)
{
    EXPECT_EQ(CGColorCreateGray(0.5f, 1).rgba(), (ColorRGBA { 0.5, 0.5, 0.5, 1 }));
    // Drawing clamps; the stored components stay as given.
    CGColor bright = CGColorCreateRGB(1.2f, -0.1f, 0.5f, 2);
    EXPECT_EQ(CGColorGetComponents(bright)[0], 1.2f);
    EXPECT_EQ(bright.rgba(), (ColorRGBA { 1, 0, 0.5, 1 }));
    EXPECT_EQ(CGColor().rgba(), ColorRGBA {});
}

TEST(Color, CopyWithAlphaReplacesOnlyAlpha)
{
    CGColor tint = CGColorCreateRGB(0.1f, 0.2f, 0.3f, 1);
    CGColor faded = CGColorCreateCopyWithAlpha(tint, 0.4f);
    EXPECT_EQ(CGColorGetAlpha(faded), 0.4f);
    EXPECT_EQ(CGColorGetComponents(faded)[1], 0.2f);
    EXPECT_EQ(CGColorGetAlpha(tint), 1);
    EXPECT_EQ(CGColorGetAlpha(CGColorCreateCopyWithAlpha(tint, 3)), 1);
    EXPECT_FALSE(CGColorCreateCopyWithAlpha(CGColor(), 0.5f));
}

TEST(Color, EqualityNeedsSameSpaceAndComponents)
{
    EXPECT_TRUE(CGColorEqualToColor(CGColorCreateRGB(1, 0, 0, 1), CGColorCreateRGB(1, 0, 0, 1)));
    EXPECT_FALSE(CGColorEqualToColor(CGColorCreateRGB(1, 0, 0, 1), CGColorCreateRGB(1, 0, 0, 0.5f)));
    // White in grey and white in RGB look the same but are different colours.
    EXPECT_FALSE(CGColorEqualToColor(CGColorCreateGray(1, 1), CGColorCreateRGB(1, 1, 1, 1)));
    EXPECT_TRUE(CGColorEqualToColor(CGColor(), CGColor()));
    EXPECT_FALSE(CGColorEqualToColor(CGColor(), CGColorCreateGray(0, 0)));
}

TEST(Color, CopiesShareComponentStorage)
{
    const CGFloat* components = nullptr;
    CGColor kept;
    {
        CGColor original = CGColorCreateRGB(0.694f, 0.184f, 0.196f, 1);
        components = CGColorGetComponents(original);
        kept = original;
    }
    EXPECT_EQ(CGColorGetComponents(kept), components);
    EXPECT_EQ(components[0], 0.694f);
}

TEST(Color, NullInputsGiveTheNullColour)
{
    const CGFloat rgb[] { 1, 1, 1, 1 };
    EXPECT_FALSE(CGColorCreate(CGColorSpace(), rgb));
    EXPECT_FALSE(CGColorCreate(CGColorSpaceCreateDeviceRGB(), nullptr));
    CGColor none;
    EXPECT_EQ(CGColorGetComponents(none), nullptr);
    EXPECT_EQ(CGColorGetNumberOfComponents(none), 0u);
    EXPECT_EQ(CGColorGetAlpha(none), 0);
    EXPECT_EQ(CGColorSpaceGetModel(CGColorGetColorSpace(none)), kCGColorSpaceModelUnknown);
}
