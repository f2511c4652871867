#pragma once

// PNG encoding written for speed: screenshots and the live viewer's frames are encoded many times
// a second, and Cairo's own writer (libpng's adaptive filtering at zlib level 6) takes several
// times longer than drawing the screen. Pictures of a user interface are mostly runs of one colour,
// smooth gradients and rows like the one above, so the Sub filter and a deflater that looks only
// for those make files smaller than zlib's fastest level, in a fraction of its time. Internal to
// the graphics module.

#include <cairo.h>

#include <cstdint>
#include <span>
#include <vector>

namespace graphics {

// An 8-bit RGBA PNG (straight alpha, unpremultiplied with the rounding Cairo's writer uses) of an
// ARGB32 image surface. Empty when the surface is not an ARGB32 image or zlib fails.
std::vector<std::uint8_t> encodeImageSurfaceAsPNG(cairo_surface_t* surface);

// The zlib stream a PNG's IDAT chunks hold together, for checks that inflate what the encoder
// wrote; empty when a chunk runs past the end.
std::vector<std::uint8_t> pngImageData(std::span<const std::uint8_t> png);

}
