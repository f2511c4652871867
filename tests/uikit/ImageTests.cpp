#include "UIKitTestSupport.h"

#include <foundation/DeviceRoot.h>
#include <foundation/NSData.h>
#include <graphics/Context.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIImage.h>
#include <uikit/UIImageView.h>
#include <uikit/ViewRendering.h>

#include <filesystem>
#include <fstream>

using namespace uikit;

namespace {

// Writes a PNG of `width` x `height` pixels, filled with one colour, at a device path.
void writePNG(const std::string& devicePath, int width, int height, float red, float green, float blue)
{
    auto host = foundation::DeviceRoot::resolve(devicePath);
    ASSERT_TRUE(host);
    std::filesystem::create_directories(std::filesystem::path(*host).parent_path());
    auto context = graphics::CGBitmapContextCreate(width, height, 1);
    graphics::CGContextSetRGBFillColor(context, red, green, blue, 1);
    graphics::CGContextFillRect(context, { { 0, 0 }, { float(width), float(height) } });
    ASSERT_TRUE(graphics::CGImageWritePNGFile(graphics::CGBitmapContextCreateImage(context), *host));
}

class Images : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (auto host = foundation::DeviceRoot::resolve("/Library/ImageTests"))
            std::filesystem::remove_all(*host);
    }
};

}

TEST_F(Images, LoadsThroughTheDeviceRootAtScaleOne)
{
    writePNG("/Library/ImageTests/Glow.png", 80, 60, 1, 0, 0);
    auto image = UIImage::imageWithContentsOfFile("/Library/ImageTests/Glow.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 1);
    EXPECT_EQ(image->size(), (CGSize { 80, 60 }));
    EXPECT_EQ(image->CGImage().pixelAt(0, 0), (graphics::PixelRGBA { 255, 0, 0, 255 }));
}

TEST_F(Images, PrefersTheRetinaSiblingAndReadsAtScaleTwo)
{
    writePNG("/Library/ImageTests/Glow.png", 40, 30, 1, 0, 0);
    writePNG("/Library/ImageTests/Glow@2x.png", 80, 60, 0, 0, 1);
    auto image = UIImage::imageWithContentsOfFile("/Library/ImageTests/Glow.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 2);
    EXPECT_EQ(image->size(), (CGSize { 40, 30 }));
    EXPECT_EQ(image->CGImage().pixelAt(0, 0).blue, 255);

    auto direct = UIImage::imageWithContentsOfFile("/Library/ImageTests/Glow@2x.png");
    ASSERT_TRUE(direct);
    EXPECT_EQ(direct->scale(), 2);
    EXPECT_EQ(direct->size(), (CGSize { 40, 30 }));
}

TEST_F(Images, AFileIsDecodedOnceUntilItChanges)
{
    writePNG("/Library/ImageTests/Shared.png", 8, 8, 1, 0, 0);
    auto first = UIImage::imageWithContentsOfFile("/Library/ImageTests/Shared.png");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->devicePath(), "/Library/ImageTests/Shared.png");
    EXPECT_EQ(UIImage::imageWithContentsOfFile("/Library/ImageTests/Shared.png").get(), first.get());

    // Same dimensions, new colour, and a later modification time even on a coarse clock.
    auto host = *foundation::DeviceRoot::resolve("/Library/ImageTests/Shared.png");
    auto stamp = std::filesystem::last_write_time(host);
    writePNG("/Library/ImageTests/Shared.png", 8, 8, 0, 0, 1);
    std::filesystem::last_write_time(host, stamp + std::chrono::seconds(2));
    auto second = UIImage::imageWithContentsOfFile("/Library/ImageTests/Shared.png");
    ASSERT_TRUE(second);
    EXPECT_NE(second.get(), first.get());
    EXPECT_EQ(second->CGImage().pixelAt(0, 0).blue, 255) << "the changed file must be decoded again";

    // A file of another size under the same name and time is new too.
    writePNG("/Library/ImageTests/Shared.png", 4, 4, 0, 1, 0);
    std::filesystem::last_write_time(host, stamp + std::chrono::seconds(2));
    auto third = UIImage::imageWithContentsOfFile("/Library/ImageTests/Shared.png");
    ASSERT_TRUE(third);
    EXPECT_EQ(third->size().width, 4);

    // Images not read from a file remember no path.
    EXPECT_EQ(UIImage::imageWithCGImage(first->CGImage())->devicePath(), "");
}

TEST_F(Images, MissingUnreadableAndEscapingPathsGiveNil)
{
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/Library/ImageTests/None.png"));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile(""));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/../../../../etc/hostname"));
    auto host = foundation::DeviceRoot::resolve("/Library/ImageTests/Text.png");
    std::filesystem::create_directories(std::filesystem::path(*host).parent_path());
    std::ofstream(*host) << "not a picture";
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/Library/ImageTests/Text.png"));
    std::filesystem::create_directories(*foundation::DeviceRoot::resolve("/Library/ImageTests/Folder.png"));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/Library/ImageTests/Folder.png"));
}

TEST_F(Images, PNGRepresentationRoundTripsThePixels)
{
    writePNG("/Library/ImageTests/Blue.png", 3, 2, 0, 0, 1);
    auto image = UIImage::imageWithContentsOfFile("/Library/ImageTests/Blue.png");
    ASSERT_TRUE(image);
    auto data = UIImagePNGRepresentation(image.get());
    ASSERT_TRUE(data);
    auto again = UIImage::imageWithData(*data, 2);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->size(), (CGSize { 1.5f, 1 }));
    EXPECT_EQ(again->CGImage().pixelAt(2, 1), (graphics::PixelRGBA { 0, 0, 255, 255 }));
    EXPECT_FALSE(UIImagePNGRepresentation(nullptr));
    EXPECT_FALSE(UIImage::imageWithData(*foundation::NSData::create({ 1, 2, 3 })));
}

TEST(ImageContext, MakesImagesAtTheScreenScaleAndDrawsImagesScaled)
{
    UIGraphicsBeginImageContextWithOptions({ 2, 2 }, false, 0);
    UIColor::redColor()->setFill();
    graphics::CGContextFillRect(UIGraphicsGetCurrentContext(), { { 0, 0 }, { 1, 2 } });
    auto small = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_FALSE(UIGraphicsGetCurrentContext());
    ASSERT_TRUE(small);
    EXPECT_EQ(small->scale(), 2);
    EXPECT_EQ(small->size(), (CGSize { 2, 2 }));
    EXPECT_EQ(small->CGImage().width(), 4);
    EXPECT_EQ(small->CGImage().pixelAt(1, 3).red, 255);
    EXPECT_EQ(small->CGImage().pixelAt(3, 3).alpha, 0);

    // Drawn into a rectangle twice its size, the left half stays red.
    UIGraphicsBeginImageContextWithOptions({ 4, 4 }, true, 1);
    small->drawInRect({ { 0, 0 }, { 4, 4 } });
    auto big = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    ASSERT_TRUE(big);
    EXPECT_EQ(big->CGImage().pixelAt(0, 0), (graphics::PixelRGBA { 255, 0, 0, 255 }));
    EXPECT_EQ(big->CGImage().pixelAt(3, 3), (graphics::PixelRGBA { 0, 0, 0, 255 })) << "an opaque context starts black";

    // At a point, an image takes its own size in points.
    UIGraphicsBeginImageContextWithOptions({ 4, 4 }, false, 1);
    small->drawAtPoint({ 2, 2 });
    auto placed = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(placed->CGImage().pixelAt(2, 2).red, 255);
    EXPECT_EQ(placed->CGImage().pixelAt(1, 1).alpha, 0);
}

TEST(ImageContext, UnbalancedCallsAreHarmless)
{
    UIGraphicsEndImageContext();
    EXPECT_FALSE(UIGraphicsGetImageFromCurrentImageContext());
    auto context = graphics::CGBitmapContextCreate(1, 1, 1);
    UIGraphicsPushContext(context);
    // Ending an image context while someone else's context is on top leaves it alone.
    UIGraphicsEndImageContext();
    EXPECT_TRUE(UIGraphicsGetCurrentContext() == context);
    UIGraphicsPopContext();
    UIGraphicsPopContext();
    EXPECT_FALSE(UIGraphicsGetCurrentContext());
}

// The retina sibling is named from the file name alone: a dot in a folder's name, a name without an
// extension and a hidden file's leading dot are not taken for the extension.
TEST_F(Images, RetinaSiblingNamesComeFromTheFileNameAlone)
{
    writePNG("/Library/ImageTests/Theme.v2/Glow@2x.png", 8, 8, 0, 0, 1);
    writePNG("/Library/ImageTests/Theme.v2/Plain@2x", 8, 8, 0, 1, 0);
    writePNG("/Library/ImageTests/.hidden@2x", 8, 8, 1, 0, 0);
    for (auto* path : { "/Library/ImageTests/Theme.v2/Glow.png", "/Library/ImageTests/Theme.v2/Plain", "/Library/ImageTests/.hidden" }) {
        auto image = UIImage::imageWithContentsOfFile(path);
        ASSERT_TRUE(image) << path;
        EXPECT_EQ(image->scale(), 2) << path;
        EXPECT_EQ(image->devicePath(), path);
    }
}

namespace {

runtime::Ref<UIImage> filledImage(int pixels, CGFloat scale, float red, float blue)
{
    auto context = graphics::CGBitmapContextCreate(pixels, pixels, 1);
    graphics::CGContextSetRGBFillColor(context, red, 0, blue, 1);
    graphics::CGContextFillRect(context, { { 0, 0 }, { float(pixels), float(pixels) } });
    return *UIImage::imageWithCGImage(graphics::CGBitmapContextCreateImage(context), scale);
}

}

// An image view's picture follows its image at every scale: shown pixel for pixel it is painted at
// every render, resampled (an @2x image on a 1x screen) it is kept, and a new image replaces it.
TEST_F(Images, ImageViewShowsItsNewImageWhetherItsPictureIsKeptOrNot)
{
    auto view = UIImageView::create({ { 0, 0 }, { 10, 10 } });
    for (CGFloat scale : { 1.0f, 2.0f }) {
        view->setImage(filledImage(20, 2, 1, 0));
        EXPECT_EQ(renderViewToImage(*view, scale).pixelAt(3, 3), (graphics::PixelRGBA { 255, 0, 0, 255 })) << scale;
        EXPECT_EQ(renderViewToImage(*view, scale).pixelAt(3, 3), (graphics::PixelRGBA { 255, 0, 0, 255 })) << scale;
        view->setImage(filledImage(20, 2, 0, 1));
        EXPECT_EQ(renderViewToImage(*view, scale).pixelAt(3, 3), (graphics::PixelRGBA { 0, 0, 255, 255 })) << scale;
    }
}
