#pragma once

// PNG encoding written for speed: screenshots and the live viewer's frames are encoded many times
// a second, and Cairo's own writer (libpng's adaptive filtering at zlib level 6) takes several
// times longer than drawing the screen. Pictures of a user interface are mostly runs of one colour
// or smooth gradients, so the Sub filter with zlib's fastest level and run-length matching makes
// files of about the same size in a fraction of the time. Internal to the graphics module.

#include <cairo.h>

#include <cstdint>
#include <vector>

namespace graphics {

// An 8-bit RGBA PNG (straight alpha, unpremultiplied with the rounding Cairo's writer uses) of an
// ARGB32 image surface. Empty when the surface is not an ARGB32 image or zlib fails.
std::vector<std::uint8_t> encodeImageSurfaceAsPNG(cairo_surface_t* surface);

}
