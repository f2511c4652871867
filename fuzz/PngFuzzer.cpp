// PNG files as UIImage::imageWithContentsOfFile reads them (a theme's image, a companion's icon),
// then drawn as a cell draws them. A decoded image must also encode and decode again to the same
// pixels.
#include "FuzzDevice.h"

#include <graphics/Image.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIImage.h>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& device = fuzzing::FuzzDevice::shared();
    device.place("/Library/Fuzzed/Image.png", std::span(data, size));
    auto image = uikit::UIImage::imageWithContentsOfFile("/Library/Fuzzed/Image.png");
    if (!image)
        return 0;

    uikit::UIGraphicsBeginImageContextWithOptions({ 16, 16 }, false, 1);
    image->drawInRect({ { 0, 0 }, { 16, 16 } });
    uikit::UIGraphicsEndImageContext();

    graphics::CGImage pixels = graphics::CGImageCreateWithPNGData(data, size);
    if (!pixels || pixels.width() * pixels.height() > 256 * 256)
        return 0;
    graphics::CGImage again = graphics::CGImageCreateWithPNGData(graphics::CGImageCreatePNGData(pixels));
    bool same = again && again.width() == pixels.width() && again.height() == pixels.height();
    for (int y = 0; same && y < pixels.height(); ++y) {
        for (int x = 0; same && x < pixels.width(); ++x)
            same = again.premultipliedAt(x, y) == pixels.premultipliedAt(x, y);
    }
    if (!same) {
        std::fprintf(stderr, "a %dx%d image changed on an encode and decode\n", pixels.width(), pixels.height());
        std::abort();
    }
    return 0;
}
