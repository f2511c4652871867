#include "DrawingTestSupport.h"

#include <graphics/Context.h>
#include <graphics/Image.h>
#include <graphics/ImageCompare.h>

#include <gtest/gtest.h>

#include <filesystem>

using namespace graphics;

namespace {

// A 2 x 2 image: red, green / blue, half-transparent white.
CGImage quadrants()
{
    CGContext c = CGBitmapContextCreate(2, 2);
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextFillRect(c, CGRectMake(0, 0, 1, 1));
    CGContextSetRGBFillColor(c, 0, 1, 0, 1);
    CGContextFillRect(c, CGRectMake(1, 0, 1, 1));
    CGContextSetRGBFillColor(c, 0, 0, 1, 1);
    CGContextFillRect(c, CGRectMake(0, 1, 1, 1));
    CGContextSetRGBFillColor(c, 1, 1, 1, 0.5f);
    CGContextFillRect(c, CGRectMake(1, 1, 1, 1));
    return CGBitmapContextCreateImage(c);
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::vector<std::uint8_t>*>(closure)->insert(
        static_cast<std::vector<std::uint8_t>*>(closure)->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

// A PNG without an alpha channel, as photo-like theme images often are.
std::vector<std::uint8_t> opaquePNG()
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 3, 3);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0, 0.5, 1);
    cairo_paint(cr);
    cairo_destroy(cr);
    std::vector<std::uint8_t> bytes;
    cairo_surface_write_to_png_stream(surface, appendBytes, &bytes);
    cairo_surface_destroy(surface);
    return bytes;
}

} // namespace

TEST(Image, PixelsReadUnpremultiplied)
{
    CGImage image = quadrants();
    EXPECT_EQ(image.pixelAt(0, 0), kOpaqueRed);
    EXPECT_EQ(image.pixelAt(1, 0), (PixelRGBA { 0, 255, 0, 255 }));
    EXPECT_EQ(image.pixelAt(1, 1), (PixelRGBA { 255, 255, 255, 128 }));
    // Stored premultiplied: half-transparent white holds 128 in every channel.
    EXPECT_EQ(image.premultipliedAt(1, 1), 0x80808080u);
    EXPECT_EQ(image.pixelAt(2, 0), kClear);
    EXPECT_EQ(image.pixelAt(-1, 0), kClear);
}

TEST(Image, PNGRoundTripKeepsEveryPixel)
{
    CGContext c = CGBitmapContextCreate(16, 4);
    for (int i = 0; i < 16; ++i) {
        CGContextSetRGBFillColor(c, i / 15.0f, 0.3f, 1 - i / 15.0f, (i + 1) / 16.0f);
        CGContextFillRect(c, CGRectMake(i, 0, 1, 4));
    }
    CGImage original = CGBitmapContextCreateImage(c);
    std::vector<std::uint8_t> png = CGImageCreatePNGData(original);
    ASSERT_FALSE(png.empty());
    CGImage decoded = CGImageCreateWithPNGData(png);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded.width(), 16);
    ASSERT_EQ(decoded.height(), 4);
    for (int x = 0; x < 16; ++x) {
        EXPECT_TRUE(near(decoded.pixelAt(x, 2), original.pixelAt(x, 2), 1)) << "x = " << x;
        EXPECT_EQ(decoded.pixelAt(x, 2).alpha, original.pixelAt(x, 2).alpha);
    }
    // Unpremultiplied on reading: the faintest column still reads as full blue.
    EXPECT_EQ(decoded.pixelAt(0, 0).blue, 255);
    EXPECT_EQ(decoded.pixelAt(0, 0).alpha, 16);
}

// The encoding decodes to exactly what Cairo's own writer gives (the same unpremultiplying
// rounding), for every alpha and across rows.
TEST(Image, PNGEncodingDecodesAsCairosOwnWriterDoes)
{
    CGContext c = CGBitmapContextCreate(256, 80);
    for (int x = 0; x < 256; ++x) {
        CGContextSetRGBFillColor(c, (x % 7) / 6.0f, (x % 5) / 4.0f, 1 - x / 255.0f, x / 255.0f);
        CGContextFillRect(c, CGRectMake(x, 0, 1, 80));
    }
    CGImage original = CGBitmapContextCreateImage(c);
    std::vector<std::uint8_t> cairoBytes;
    ASSERT_EQ(cairo_surface_write_to_png_stream(original.surface(), appendBytes, &cairoBytes), CAIRO_STATUS_SUCCESS);
    CGImage byCairo = CGImageCreateWithPNGData(cairoBytes);
    ASSERT_TRUE(byCairo);

    CGImage decoded = CGImageCreateWithPNGData(CGImageCreatePNGData(original));
    ASSERT_TRUE(decoded);
    for (int y : { 0, 41, 79 }) {
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(decoded.premultipliedAt(x, y), byCairo.premultipliedAt(x, y)) << x << ", " << y;
    }
}

TEST(Image, OpaquePNGBecomesARGB)
{
    CGImage image = CGImageCreateWithPNGData(opaquePNG());
    ASSERT_TRUE(image);
    EXPECT_EQ(cairo_image_surface_get_format(image.surface()), CAIRO_FORMAT_ARGB32);
    EXPECT_TRUE(near(image.pixelAt(1, 1), { 0, 128, 255, 255 }, 1));
}

TEST(Image, RejectsBrokenOrOversizedPNGs)
{
    EXPECT_FALSE(CGImageCreateWithPNGData(nullptr, 0));
    EXPECT_FALSE(CGImageCreateWithPNGData(std::vector<std::uint8_t> { 1, 2, 3 }));
    std::vector<std::uint8_t> valid = CGImageCreatePNGData(quadrants());
    std::vector<std::uint8_t> truncated(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(valid.size() / 2));
    EXPECT_FALSE(CGImageCreateWithPNGData(truncated));
    std::vector<std::uint8_t> corrupt = valid;
    for (std::size_t i = 40; i < corrupt.size() - 12; ++i)
        corrupt[i] ^= 0x5a;
    EXPECT_FALSE(CGImageCreateWithPNGData(corrupt));

    // A header announcing 100000 x 1 pixels is refused before any decoding.
    std::vector<std::uint8_t> huge = valid;
    huge[16] = 0x00;
    huge[17] = 0x01;
    huge[18] = 0x86;
    huge[19] = 0xa0;
    EXPECT_FALSE(CGImageCreateWithPNGData(huge));
    // So is 5000 x 5000: each side is allowed, the total is not.
    huge[16] = 0x00, huge[17] = 0x00, huge[18] = 0x13, huge[19] = 0x88;
    huge[20] = 0x00, huge[21] = 0x00, huge[22] = 0x13, huge[23] = 0x88;
    EXPECT_FALSE(CGImageCreateWithPNGData(huge));
}

TEST(Image, FilesWriteAndReadBack)
{
    std::filesystem::path path = std::filesystem::temp_directory_path() / "torvane-graphics-image-test.png";
    ASSERT_TRUE(CGImageWritePNGFile(quadrants(), path));
    CGImage read = CGImageCreateWithPNGFile(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.pixelAt(0, 1), kOpaqueBlue);
    EXPECT_FALSE(CGImageCreateWithPNGFile(path));
    EXPECT_FALSE(CGImageWritePNGFile(CGImage(), path));
}

TEST(DrawImage, ScalesIntoTheRectangleUpright)
{
    CGContext c = CGBitmapContextCreate(40, 40);
    CGContextDrawImage(c, CGRectMake(10, 10, 20, 20), quadrants());
    EXPECT_EQ(pixel(c, 12, 12), kOpaqueRed);
    EXPECT_EQ(pixel(c, 27, 12), (PixelRGBA { 0, 255, 0, 255 }));
    EXPECT_EQ(pixel(c, 12, 27), kOpaqueBlue);
    EXPECT_EQ(pixel(c, 27, 27), (PixelRGBA { 255, 255, 255, 128 }));
    // Nothing outside the rectangle, not even a faded edge.
    EXPECT_EQ(pixel(c, 9, 15), kClear);
    EXPECT_EQ(pixel(c, 10, 10), kOpaqueRed);
    EXPECT_EQ(pixel(c, 30, 15), kClear);
}

TEST(DrawImage, ContextAlphaFadesTheImage)
{
    CGContext c = CGBitmapContextCreate(4, 4);
    CGContextSetAlpha(c, 0.5f);
    CGContextDrawImage(c, CGRectMake(0, 0, 4, 4), quadrants());
    EXPECT_TRUE(near(pixel(c, 0, 0), { 255, 0, 0, 128 }));
    EXPECT_TRUE(near(pixel(c, 3, 3), { 255, 255, 255, 64 }));
}

TEST(DrawImage, AtAPointUsesTheImageScale)
{
    CGContext c = CGBitmapContextCreate(20, 20, 2);
    drawImageAtPoint(c, CGPointMake(2, 3), quadrants(), 2);
    // A 2-pixel image at scale 2 is 1 point, which is 2 pixels on this page: one pixel per quadrant.
    EXPECT_EQ(pixel(c, 4, 6), kOpaqueRed);
    EXPECT_EQ(pixel(c, 5, 7), (PixelRGBA { 255, 255, 255, 128 }));
    EXPECT_EQ(pixel(c, 6, 6), kClear);
    CGContextDrawImage(c, CGRectMake(0, 0, 5, 5), CGImage());
    EXPECT_EQ(pixel(c, 0, 0), kClear);
}

TEST(ImageCompare, CountsPixelsBeyondTheTolerance)
{
    CGContext a = CGBitmapContextCreate(10, 10);
    CGContextFillRect(a, CGRectMake(0, 0, 10, 10));
    CGContext b = CGBitmapContextCreate(10, 10);
    CGContextFillRect(b, CGRectMake(0, 0, 10, 10));
    CGContextSetRGBFillColor(b, 20 / 255.0f, 0, 0, 1);
    CGContextFillRect(b, CGRectMake(0, 0, 1, 1));
    CGContextSetRGBFillColor(b, 5 / 255.0f, 0, 0, 1);
    CGContextFillRect(b, CGRectMake(1, 0, 1, 1));

    ImageComparison result = compareImages(CGBitmapContextCreateImage(a), CGBitmapContextCreateImage(b), 8);
    EXPECT_TRUE(result.sameSize);
    EXPECT_EQ(result.differingPixels, 1u);
    EXPECT_EQ(result.largestDifference, 20);
    EXPECT_DOUBLE_EQ(result.differingShare(), 0.01);
    EXPECT_TRUE(result.within(0.01));
    EXPECT_FALSE(result.within(0.005));

    ImageComparison sizes = compareImages(CGBitmapContextCreateImage(a), quadrants(), 8);
    EXPECT_FALSE(sizes.sameSize);
    EXPECT_FALSE(sizes.within(1));
}

TEST(ImageCompare, MissingReferenceFailsWithAMessage)
{
    ReferenceCheck check = checkAgainstReference(quadrants(), "/dev/null/missing.png");
    EXPECT_FALSE(check.passed);
    EXPECT_NE(check.message.find("missing.png"), std::string::npos);
    std::filesystem::remove("missing.actual.png");
}
