#include "PngEncoder.h"

#include "ScanlineDeflater.h"

#include <zlib.h>

#include <array>
#include <cstring>
#include <optional>
#include <system_error>
#include <thread>

namespace graphics {

namespace {

constexpr std::uint8_t signature[8] { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n' };
constexpr std::uint8_t filterSub = 1;
// Pictures from this many filtered bytes on are deflated on two threads.
constexpr size_t splitBytes = 256 * 1024;

// straight[alpha][premultiplied component], rounded as Cairo's writer rounds.
const std::array<std::array<std::uint8_t, 256>, 256>& unpremultiplyTable()
{
    static const auto* table = [] {
        auto* values = new std::array<std::array<std::uint8_t, 256>, 256>();
        for (unsigned alpha = 1; alpha < 256; ++alpha) {
            for (unsigned component = 0; component < 256; ++component) {
                unsigned straight = (component * 255 + alpha / 2) / alpha;
                (*values)[alpha][component] = static_cast<std::uint8_t>(straight > 255 ? 255 : straight);
            }
        }
        return values;
    }();
    return *table;
}

void appendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

// A chunk whose data already sits at the end of `out`, after the 8 bytes reserved for its length
// and type at `start`.
void finishChunk(std::vector<std::uint8_t>& out, size_t start, const char type[4])
{
    auto length = static_cast<std::uint32_t>(out.size() - start - 8);
    out[start] = static_cast<std::uint8_t>(length >> 24);
    out[start + 1] = static_cast<std::uint8_t>(length >> 16);
    out[start + 2] = static_cast<std::uint8_t>(length >> 8);
    out[start + 3] = static_cast<std::uint8_t>(length);
    std::memcpy(&out[start + 4], type, 4);
    uLong crc = crc32(0, &out[start + 4], static_cast<uInt>(length + 4));
    appendBigEndian32(out, static_cast<std::uint32_t>(crc));
}

size_t beginChunk(std::vector<std::uint8_t>& out)
{
    size_t start = out.size();
    out.resize(start + 8);
    return start;
}

// One scanline as PNG filters it: the Sub filter's byte, then RGBA bytes, each less the same byte
// of the pixel to its left.
void filterRow(const std::uint32_t* source, int width, std::uint8_t* target)
{
    const auto& straight = unpremultiplyTable();
    *target++ = filterSub;
    std::uint8_t left[4] {};
    for (int x = 0; x < width; ++x, target += 4) {
        std::uint32_t pixel = source[x];
        unsigned alpha = pixel >> 24;
        std::uint8_t rgba[4] {};
        if (alpha != 0) {
            unsigned red = (pixel >> 16) & 0xff;
            unsigned green = (pixel >> 8) & 0xff;
            unsigned blue = pixel & 0xff;
            if (alpha != 255) {
                red = straight[alpha][red];
                green = straight[alpha][green];
                blue = straight[alpha][blue];
            }
            rgba[0] = static_cast<std::uint8_t>(red);
            rgba[1] = static_cast<std::uint8_t>(green);
            rgba[2] = static_cast<std::uint8_t>(blue);
            rgba[3] = static_cast<std::uint8_t>(alpha);
        }
        for (int i = 0; i < 4; ++i) {
            target[i] = static_cast<std::uint8_t>(rgba[i] - left[i]);
            left[i] = rgba[i];
        }
    }
}

struct Pixels {
    const unsigned char* data;
    int width;
    int height;
    int stride;

    const std::uint32_t* row(int y) const { return reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride); }
};

// Rows [first, last) deflated as one part of the picture's stream.
void deflateRows(const Pixels& pixels, int first, int last, ScanlineDeflater& deflater, ScanlineDeflater::End end)
{
    if (first > 0) {
        filterRow(pixels.row(first - 1), pixels.width, deflater.row());
        deflater.rememberRow();
    }
    for (int y = first; y < last; ++y) {
        filterRow(pixels.row(y), pixels.width, deflater.row());
        deflater.addRow();
    }
    deflater.finish(end);
}

// The zlib stream of the filtered picture. A picture of some size is deflated in two halves side
// by side (a screenshot is encoded while the home screen waits), joined on a byte boundary with
// their checksums combined.
void appendCompressed(std::vector<std::uint8_t>& out, const Pixels& pixels)
{
    const size_t rowBytes = static_cast<size_t>(pixels.width) * 4 + 1;
    const bool split = rowBytes * static_cast<size_t>(pixels.height) >= splitBytes && pixels.height >= 2;
    const int middle = split ? pixels.height / 2 : pixels.height;

    ScanlineDeflater top(rowBytes);
    std::optional<ScanlineDeflater> bottom;
    std::thread second;
    auto deflateBottom = [&] { deflateRows(pixels, middle, pixels.height, *bottom, ScanlineDeflater::End::Final); };
    if (split) {
        bottom.emplace(rowBytes);
        try {
            second = std::thread(deflateBottom);
        } catch (const std::system_error&) {
            // No thread to be had: the second half waits for the first, and the file is the same.
        }
    }
    deflateRows(pixels, 0, middle, top, split ? ScanlineDeflater::End::ByteBoundary : ScanlineDeflater::End::Final);
    if (second.joinable())
        second.join();
    else if (bottom)
        deflateBottom();

    // The stream in one piece: its header, both parts, the checksum, and the IDAT's CRC and the
    // IEND chunk that follow.
    out.reserve(out.size() + 2 + top.output().size() + (bottom ? bottom->output().size() : 0) + 4 + 4 + 12);
    // Deflate, 32 K window, fastest compression; no preset dictionary (a multiple of 31).
    out.push_back(0x78);
    out.push_back(0x01);
    top.output().appendTo(out);
    std::uint32_t adler = top.adler();
    if (bottom) {
        bottom->output().appendTo(out);
        adler = static_cast<std::uint32_t>(adler32_combine64(adler, bottom->adler(), static_cast<z_off64_t>(bottom->length())));
    }
    appendBigEndian32(out, adler);
}

}

std::vector<std::uint8_t> encodeImageSurfaceAsPNG(cairo_surface_t* surface)
{
    std::vector<std::uint8_t> out;
    if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE
        || cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
        return out;
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const unsigned char* pixels = cairo_image_surface_get_data(surface);
    if (width <= 0 || height <= 0 || !pixels)
        return out;

    const Pixels image { pixels, width, height, cairo_image_surface_get_stride(surface) };
    out.insert(out.end(), std::begin(signature), std::end(signature));

    size_t header = beginChunk(out);
    appendBigEndian32(out, static_cast<std::uint32_t>(width));
    appendBigEndian32(out, static_cast<std::uint32_t>(height));
    // 8 bits a sample, RGBA, deflate, adaptive filtering, no interlace.
    for (std::uint8_t byte : { 8, 6, 0, 0, 0 })
        out.push_back(byte);
    finishChunk(out, header, "IHDR");

    size_t data = beginChunk(out);
    appendCompressed(out, image);
    finishChunk(out, data, "IDAT");

    finishChunk(out, beginChunk(out), "IEND");
    return out;
}

std::vector<std::uint8_t> pngImageData(std::span<const std::uint8_t> png)
{
    std::vector<std::uint8_t> data;
    for (size_t at = sizeof signature; at + 12 <= png.size();) {
        const size_t length = static_cast<size_t>(png[at]) << 24 | static_cast<size_t>(png[at + 1]) << 16
            | static_cast<size_t>(png[at + 2]) << 8 | png[at + 3];
        if (length > png.size() - at - 12)
            return {};
        if (std::memcmp(&png[at + 4], "IDAT", 4) == 0)
            data.insert(data.end(), png.begin() + static_cast<std::ptrdiff_t>(at + 8), png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
        at += 12 + length;
    }
    return data;
}

}
