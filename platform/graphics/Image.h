#pragma once

// Bitmap images: a Cairo ARGB32 image surface (premultiplied alpha, native byte order), sized in
// pixels. The scale that turns pixels into points belongs to whoever draws the image (UIImage), not
// to the image. CGImage is an immutable, reference-counted handle: copies share the pixels. A
// default-constructed handle is the null image (0 x 0), which draws nothing.

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace graphics {

// One pixel, unpremultiplied, each channel 0-255.
struct PixelRGBA {
    std::uint8_t red { 0 };
    std::uint8_t green { 0 };
    std::uint8_t blue { 0 };
    std::uint8_t alpha { 0 };
    friend bool operator==(const PixelRGBA&, const PixelRGBA&) = default;
};

class CGImage {
public:
    CGImage() = default;

    explicit operator bool() const { return m_surface != nullptr; }
    int width() const;
    int height() const;
    // Unpremultiplied colour of pixel (x, y), counted from the top-left; transparent black when the
    // position lies outside the image.
    PixelRGBA pixelAt(int x, int y) const;
    // Premultiplied ARGB32 word of pixel (x, y) (0 outside), for exact comparisons.
    std::uint32_t premultipliedAt(int x, int y) const;

    // The pixels as a Cairo source. Drawing must not change them: images are immutable.
    cairo_surface_t* surface() const { return m_surface.get(); }

    // Takes over one reference to `surface`, which must be an ARGB32 image surface that nobody
    // draws into afterwards. Anything else (including a surface in an error state) gives the null
    // image.
    static CGImage adoptSurface(cairo_surface_t* surface);

    friend bool operator==(const CGImage& a, const CGImage& b) { return a.m_surface == b.m_surface; }

private:
    std::shared_ptr<cairo_surface_t> m_surface;
};

using CGImageRef = CGImage;

std::size_t CGImageGetWidth(const CGImage& image);
std::size_t CGImageGetHeight(const CGImage& image);

// Largest PNG accepted, in pixels per side and in total. Image files may come from anyone with
// access to the device, so their header is checked before any pixel memory is committed.
inline constexpr std::uint32_t kMaximumImageSide = 8192;
inline constexpr std::uint64_t kMaximumImagePixels = 4096ull * 4096ull;
inline constexpr std::uintmax_t kMaximumPNGFileBytes = 128ull * 1024 * 1024;

// Decodes PNG data. Colour types without alpha come out opaque; every image is ARGB32. Gives the
// null image for anything that is not a complete, valid PNG within the size limits.
CGImage CGImageCreateWithPNGData(const std::uint8_t* bytes, std::size_t length);
CGImage CGImageCreateWithPNGData(const std::vector<std::uint8_t>& bytes);
CGImage CGImageCreateWithPNGFile(const std::filesystem::path& path);
// Encodes as an 8-bit RGBA PNG (unpremultiplied). Empty for the null image.
std::vector<std::uint8_t> CGImageCreatePNGData(const CGImage& image);
// False when the image is null or the file cannot be written.
bool CGImageWritePNGFile(const CGImage& image, const std::filesystem::path& path);

} // namespace graphics
