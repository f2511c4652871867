#pragma once

// Internal to the graphics module: drawing an operation with a blurred drop shadow.

#include <graphics/Color.h>
#include <graphics/Geometry.h>

#include <cairo.h>

#include <cstdint>
#include <functional>

namespace graphics {

struct ShadowStyle {
    CGSize offset;
    CGFloat blur { 0 };
    ColorRGBA color;
};

// Paints `operation` into a group, casts the shadow of the group's coverage under it and then
// composites the group, all within the current clip.
void paintWithShadow(cairo_t* cr, const ShadowStyle& shadow, const std::function<void(cairo_t*)>& operation);

// Approximates a Gaussian blur of an 8-bit alpha plane with three box blurs per direction
// (standard deviations in pixels). Outside the plane counts as transparent.
void blurAlpha(std::uint8_t* data, int width, int height, int stride, double sigmaX, double sigmaY);

} // namespace graphics
