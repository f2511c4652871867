#pragma once

// What the image generators share: drawing one picture at a given scale and writing it as a PNG.

#include <graphics/Context.h>

#include <filesystem>
#include <functional>

namespace resources {

// Draws at `scale` pixels a point on a canvas of `size` points and writes the PNG at `path`.
// False when the canvas cannot be made or the file not written.
bool renderPNG(const std::filesystem::path& path, graphics::CGSize size, graphics::CGFloat scale,
    const std::function<void(const graphics::CGContext&)>& draw);

}
