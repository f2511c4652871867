// Pictures as the screen hands them to the PNG encoder: any pixels, any size up to a screen's and
// more, large ones deflated in two halves. The input names a width and a height and gives pixels
// that repeat to fill them, so small inputs make runs, repeated rows and whole screens. Every
// picture must inflate with zlib to its rows, and decode to what Cairo's own writer gives.
#include <graphics/Image.h>
#include <graphics/PngEncoder.h>

#include <cairo.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(closure);
    bytes->insert(bytes->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

[[noreturn]] void fail(const char* what, int width, int height)
{
    std::fprintf(stderr, "a %dx%d picture: %s\n", width, height, what);
    std::abort();
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    const int width = 1 + (data[0] | data[1] << 8) % 1100;
    const int height = 1 + (data[2] | data[3] << 8) % 1000;
    const uint8_t* pixels = data + 4;
    const size_t pixelCount = (size - 4) / 4;
    if (pixelCount == 0)
        return 0;

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    unsigned char* target = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    size_t next = 0;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(target + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x, next = (next + 1) % pixelCount) {
            const uint8_t* p = pixels + next * 4;
            // Premultiplied: no colour above its alpha.
            std::uint32_t alpha = p[3];
            row[x] = alpha << 24 | std::min<std::uint32_t>(p[0], alpha) << 16 | std::min<std::uint32_t>(p[1], alpha) << 8
                | std::min<std::uint32_t>(p[2], alpha);
        }
    }
    cairo_surface_mark_dirty(surface);
    graphics::CGImage picture = graphics::CGImage::adoptSurface(surface);

    std::vector<std::uint8_t> png = graphics::CGImageCreatePNGData(picture);
    if (png.empty())
        fail("no PNG", width, height);
    std::vector<std::uint8_t> compressed = graphics::pngImageData(png);
    const size_t rowsLength = (static_cast<size_t>(width) * 4 + 1) * static_cast<size_t>(height);
    std::vector<std::uint8_t> rows(rowsLength + 1);
    uLongf inflated = static_cast<uLongf>(rows.size());
    if (uncompress(rows.data(), &inflated, compressed.data(), static_cast<uLong>(compressed.size())) != Z_OK || inflated != rowsLength)
        fail("the stream does not inflate to its rows", width, height);

    // Cairo's writer is slow; small pictures are compared with what it makes.
    if (static_cast<size_t>(width) * static_cast<size_t>(height) > 64 * 1024)
        return 0;
    std::vector<std::uint8_t> byCairo;
    cairo_surface_write_to_png_stream(picture.surface(), appendBytes, &byCairo);
    graphics::CGImage expected = graphics::CGImageCreateWithPNGData(byCairo);
    graphics::CGImage decoded = graphics::CGImageCreateWithPNGData(png);
    if (!decoded || !expected)
        fail("does not decode", width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (decoded.premultipliedAt(x, y) != expected.premultipliedAt(x, y))
                fail("decodes to other pixels than Cairo's own file", width, height);
        }
    }
    return 0;
}
