#include "PngCanvas.h"

#include <graphics/Image.h>

#include <cmath>

namespace resources {

bool renderPNG(const std::filesystem::path& path, graphics::CGSize size, graphics::CGFloat scale,
    const std::function<void(const graphics::CGContext&)>& draw)
{
    int width = static_cast<int>(std::ceil(size.width * scale));
    int height = static_cast<int>(std::ceil(size.height * scale));
    auto context = graphics::CGBitmapContextCreate(width, height, scale);
    if (!context)
        return false;
    draw(context);
    return graphics::CGImageWritePNGFile(graphics::CGBitmapContextCreateImage(context), path);
}

}
