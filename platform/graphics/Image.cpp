#include <graphics/Image.h>

#include "PngEncoder.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace graphics {

namespace {

struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};

const std::uint8_t kPNGSignature[8] { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };

std::uint32_t bigEndian32(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

// The signature and the first chunk, which PNG requires to be IHDR, give the size up front.
bool headerAcceptable(const std::uint8_t* bytes, std::size_t length)
{
    if (length < 24 || std::memcmp(bytes, kPNGSignature, sizeof kPNGSignature) != 0)
        return false;
    if (std::memcmp(bytes + 12, "IHDR", 4) != 0)
        return false;
    std::uint32_t width = bigEndian32(bytes + 16);
    std::uint32_t height = bigEndian32(bytes + 20);
    if (width == 0 || height == 0 || width > kMaximumImageSide || height > kMaximumImageSide)
        return false;
    return std::uint64_t(width) * height <= kMaximumImagePixels;
}

struct ReadCursor {
    const std::uint8_t* bytes;
    std::size_t length;
    std::size_t offset;
};

cairo_status_t readFromMemory(void* closure, unsigned char* data, unsigned int length)
{
    auto* cursor = static_cast<ReadCursor*>(closure);
    if (length > cursor->length - cursor->offset)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, cursor->bytes + cursor->offset, length);
    cursor->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

// Cairo decodes opaque PNGs as RGB24; everything here is ARGB32, so redraw those.
cairo_surface_t* toARGB32(cairo_surface_t* surface)
{
    if (cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32)
        return surface;
    int width = cairo_image_surface_get_width(surface);
    int height = cairo_image_surface_get_height(surface);
    cairo_surface_t* converted = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(converted);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return converted;
}

} // namespace

CGImage CGImage::adoptSurface(cairo_surface_t* surface)
{
    CGImage image;
    if (!surface)
        return image;
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS
        || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE
        || cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
        cairo_surface_destroy(surface);
        return image;
    }
    cairo_surface_flush(surface);
    image.m_surface = std::shared_ptr<cairo_surface_t>(surface, SurfaceRelease());
    return image;
}

int CGImage::width() const { return m_surface ? cairo_image_surface_get_width(m_surface.get()) : 0; }
int CGImage::height() const { return m_surface ? cairo_image_surface_get_height(m_surface.get()) : 0; }

std::uint32_t CGImage::premultipliedAt(int x, int y) const
{
    if (!m_surface || x < 0 || y < 0 || x >= width() || y >= height())
        return 0;
    const unsigned char* data = cairo_image_surface_get_data(m_surface.get());
    int stride = cairo_image_surface_get_stride(m_surface.get());
    std::uint32_t word;
    std::memcpy(&word, data + static_cast<std::ptrdiff_t>(y) * stride + x * 4, sizeof word);
    return word;
}

PixelRGBA CGImage::pixelAt(int x, int y) const
{
    std::uint32_t word = premultipliedAt(x, y);
    unsigned alpha = word >> 24;
    if (alpha == 0)
        return {};
    auto channel = [&](int shift) {
        unsigned premultiplied = (word >> shift) & 0xff;
        return static_cast<std::uint8_t>((premultiplied * 255 + alpha / 2) / alpha);
    };
    return { channel(16), channel(8), channel(0), static_cast<std::uint8_t>(alpha) };
}

std::size_t CGImageGetWidth(const CGImage& image) { return static_cast<std::size_t>(image.width()); }
std::size_t CGImageGetHeight(const CGImage& image) { return static_cast<std::size_t>(image.height()); }

CGImage CGImageCreateWithPNGData(const std::uint8_t* bytes, std::size_t length)
{
    if (!bytes || !headerAcceptable(bytes, length))
        return {};
    ReadCursor cursor { bytes, length, 0 };
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(readFromMemory, &cursor);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return {};
    }
    return CGImage::adoptSurface(toARGB32(surface));
}

CGImage CGImageCreateWithPNGData(const std::vector<std::uint8_t>& bytes)
{
    return CGImageCreateWithPNGData(bytes.data(), bytes.size());
}

CGImage CGImageCreateWithPNGFile(const std::filesystem::path& path)
{
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error || size > kMaximumPNGFileBytes)
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return CGImageCreateWithPNGData(bytes);
}

std::vector<std::uint8_t> CGImageCreatePNGData(const CGImage& image)
{
    if (!image)
        return {};
    return encodeImageSurfaceAsPNG(image.surface());
}

bool CGImageWritePNGFile(const CGImage& image, const std::filesystem::path& path)
{
    std::vector<std::uint8_t> bytes = CGImageCreatePNGData(image);
    if (bytes.empty())
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

} // namespace graphics
