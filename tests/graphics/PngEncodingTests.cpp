#include <graphics/HuffmanCode.h>
#include <graphics/Image.h>
#include <graphics/PngEncoder.h>

#include <gtest/gtest.h>

#include <cairo.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <random>

using namespace graphics;

namespace {

// A picture of what the encoder meets: one colour, a horizontal gradient, rows repeated from the
// row above, noise at every alpha, and nothing at all.
CGImage mixedPicture(int width, int height, unsigned seed)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::mt19937 random(seed);
    auto premultiplied = [](unsigned alpha, unsigned red, unsigned green, unsigned blue) {
        return alpha << 24 | (red * alpha / 255) << 16 | (green * alpha / 255) << 8 | blue * alpha / 255;
    };
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        const int band = y * 5 / std::max(height, 1);
        if (band == 2 && y > 0 && y % 7 != 0) {
            std::memcpy(row, data + static_cast<std::ptrdiff_t>(y - 1) * stride, static_cast<size_t>(width) * 4);
            continue;
        }
        for (int x = 0; x < width; ++x) {
            switch (band) {
            case 0:
                row[x] = premultiplied(255, 30, 60, 200);
                break;
            case 1:
                row[x] = premultiplied(255, static_cast<unsigned>(x * 255 / std::max(width - 1, 1)), 128, static_cast<unsigned>(y % 256));
                break;
            case 2:
            case 3:
                row[x] = premultiplied(random() % 256, random() % 256, random() % 256, random() % 256);
                break;
            default:
                row[x] = x % 3 ? 0 : premultiplied(255, 250, 250, 250);
            }
        }
    }
    cairo_surface_mark_dirty(surface);
    return CGImage::adoptSurface(surface);
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(closure);
    bytes->insert(bytes->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

void expectRoundTrip(const CGImage& original)
{
    SCOPED_TRACE(testing::Message() << original.width() << " x " << original.height());
    std::vector<std::uint8_t> png = CGImageCreatePNGData(original);
    ASSERT_FALSE(png.empty());

    // zlib checks the stream to its end, the checksum included.
    std::vector<std::uint8_t> compressed = pngImageData(png);
    const size_t rowBytes = static_cast<size_t>(original.width()) * 4 + 1;
    std::vector<std::uint8_t> filtered(rowBytes * static_cast<size_t>(original.height()) + 1);
    uLongf filteredLength = static_cast<uLongf>(filtered.size());
    ASSERT_EQ(uncompress(filtered.data(), &filteredLength, compressed.data(), static_cast<uLong>(compressed.size())), Z_OK);
    EXPECT_EQ(filteredLength, rowBytes * static_cast<size_t>(original.height()));

    std::vector<std::uint8_t> byCairo;
    ASSERT_EQ(cairo_surface_write_to_png_stream(original.surface(), appendBytes, &byCairo), CAIRO_STATUS_SUCCESS);
    CGImage expected = CGImageCreateWithPNGData(byCairo);
    CGImage decoded = CGImageCreateWithPNGData(png);
    ASSERT_TRUE(decoded);
    for (int y = 0; y < original.height(); ++y) {
        for (int x = 0; x < original.width(); ++x)
            ASSERT_EQ(decoded.premultipliedAt(x, y), expected.premultipliedAt(x, y)) << x << ", " << y;
    }
}

}

// Large pictures are deflated in two parts joined into one stream; narrow, wide, short and tall
// ones reach every edge of the matching (rows too short for a match, rows too long to refer back
// to, a part that starts with a copy of the row above).
TEST(PngEncoding, EveryShapeOfPictureDecodesToItsPixels)
{
    expectRoundTrip(mixedPicture(700, 500, 1));
    expectRoundTrip(mixedPicture(640, 960, 2));
    expectRoundTrip(mixedPicture(1, 1, 3));
    expectRoundTrip(mixedPicture(2, 40, 4));
    expectRoundTrip(mixedPicture(8, 8000, 5));
    expectRoundTrip(mixedPicture(8192, 12, 6));
}

// Frequencies that would make codes as long as the alphabet is big are held to the limit, and
// the lengths still describe a complete prefix code, as every inflater requires.
TEST(PngEncoding, HuffmanCodesKeepToTheirLengthLimitAndAreComplete)
{
    auto kraftSumTimes = [](const HuffmanCode& code, unsigned bits) {
        std::uint64_t sum = 0;
        for (auto length : code.lengths()) {
            if (length)
                sum += std::uint64_t { 1 } << (bits - length);
        }
        return sum;
    };
    std::vector<std::uint32_t> fibonacci { 1, 1 };
    while (fibonacci.size() < 30)
        fibonacci.push_back(fibonacci[fibonacci.size() - 1] + fibonacci[fibonacci.size() - 2]);
    HuffmanCode limited(fibonacci, 7);
    EXPECT_LE(*std::max_element(limited.lengths().begin(), limited.lengths().end()), 7);
    EXPECT_EQ(kraftSumTimes(limited, 7), 1u << 7);
    // The commonest symbol has the shortest code.
    EXPECT_LE(limited.length(29), limited.length(0));

    std::vector<std::uint32_t> lone(19, 0);
    lone[18] = 5;
    HuffmanCode single(lone, 7);
    EXPECT_EQ(single.length(18), 1u);
    EXPECT_EQ(kraftSumTimes(single, 7), 1u << 7);
}
