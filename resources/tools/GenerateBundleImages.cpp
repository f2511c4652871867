// Draws the images of the settings pane's bundle:
//
//   torvane-bundle-image-generator OUTPUT_FOLDER
//
// writes each image at 1x and @2x into OUTPUT_FOLDER. The repository keeps the result in
// resources/TorvaneSettings.bundle; run this again after changing a look.
//
//   ShadowImage.png          103 x 103  the soft shadow the preview's sample icon stands on
//   TorvanePreviewIcon.png    59 x 59   the sample icon shown until the add-on captures a real one
//   TorvanePreviewLabel.png   42 x 16   the sample icon's name, white with a dark shadow
//   TQNever.png               24 x 24   the no-entry sign on applications the add-on leaves alone
//   TorvaneIcon.png           29 x 29   the pane's icon, also the quick killer's in Activator

#include "PngCanvas.h"

#include <graphics/ColorSpace.h>
#include <graphics/Color.h>
#include <graphics/Context.h>
#include <graphics/Font.h>
#include <graphics/Geometry.h>
#include <graphics/Gradient.h>
#include <graphics/Image.h>
#include <quartzcore/LayerPainting.h>
#include <graphics/TextLayout.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using graphics::CGContext;
using graphics::CGFloat;
using graphics::CGPoint;
using graphics::CGRect;
using graphics::CGSize;

graphics::CGGradient twoStopGradient(CGFloat r0, CGFloat g0, CGFloat b0, CGFloat a0, CGFloat r1, CGFloat g1, CGFloat b1, CGFloat a1)
{
    const CGFloat components[] = { r0, g0, b0, a0, r1, g1, b1, a1 };
    const CGFloat locations[] = { 0, 1 };
    return graphics::CGGradientCreateWithColorComponents(graphics::CGColorSpaceCreateDeviceRGB(), components, locations, 2);
}

// A dark pool under the icon's foot, fading to nothing at its rim. In the preview the icon's
// bottom edge lies 62 points down the shadow image.
void drawShadow(const CGContext& context, CGSize)
{
    graphics::CGContextSaveGState(context);
    // Squash a circle into a wide, flat ellipse.
    graphics::CGContextTranslateCTM(context, 51.5f, 66);
    graphics::CGContextScaleCTM(context, 1, 0.32f);
    auto pool = twoStopGradient(0, 0, 0, 0.7f, 0, 0, 0, 0);
    graphics::CGContextDrawRadialGradient(context, pool, { 0, 0 }, 0, { 0, 0 }, 40, 0);
    graphics::CGContextRestoreGState(context);
    // A faint wider halo so the pool has no visible edge.
    graphics::CGContextSaveGState(context);
    graphics::CGContextTranslateCTM(context, 51.5f, 62);
    graphics::CGContextScaleCTM(context, 1, 0.5f);
    auto halo = twoStopGradient(0, 0, 0, 0.18f, 0, 0, 0, 0);
    graphics::CGContextDrawRadialGradient(context, halo, { 0, 0 }, 0, { 0, 0 }, 50, 0);
    graphics::CGContextRestoreGState(context);
}

// An app-style tile: a rounded square with a deep-teal gradient, a white swipe arrow rising from
// a bar, and the gloss of iOS 6 icons over its upper half. `size` is the tile's edge in points.
void drawTile(const CGContext& context, CGFloat size)
{
    CGFloat radius = size * 10 / 57;
    CGRect tile { { 0, 0 }, { size, size } };

    graphics::CGContextSaveGState(context);
    quartzcore::addRoundedRectPath(context, tile, radius);
    graphics::CGContextClip(context);
    auto body = twoStopGradient(0.16f, 0.72f, 0.78f, 1, 0.04f, 0.30f, 0.42f, 1);
    graphics::CGContextDrawLinearGradient(context, body, { 0, 0 }, { 0, size }, 0);

    // The gesture the add-on reacts to: a finger's stroke upwards, ending in an arrow head.
    CGFloat unit = size / 59;
    graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 0.95f);
    quartzcore::addRoundedRectPath(context, { { 16 * unit, 44 * unit }, { 27 * unit, 5 * unit } }, 2.5f * unit);
    graphics::CGContextFillPath(context);
    quartzcore::addRoundedRectPath(context, { { 26.5f * unit, 20 * unit }, { 6 * unit, 20 * unit } }, 3 * unit);
    graphics::CGContextFillPath(context);
    graphics::CGContextBeginPath(context);
    graphics::CGContextMoveToPoint(context, 29.5f * unit, 8 * unit);
    graphics::CGContextAddLineToPoint(context, 41 * unit, 23 * unit);
    graphics::CGContextAddLineToPoint(context, 18 * unit, 23 * unit);
    graphics::CGContextClosePath(context);
    graphics::CGContextFillPath(context);

    // Gloss: a bright arc over the top half.
    graphics::CGContextBeginPath(context);
    graphics::CGContextAddEllipseInRect(context, { { -size * 0.45f, -size * 0.78f }, { size * 1.9f, size * 1.28f } });
    graphics::CGContextClip(context);
    auto gloss = twoStopGradient(1, 1, 1, 0.50f, 1, 1, 1, 0.10f);
    graphics::CGContextDrawLinearGradient(context, gloss, { 0, 0 }, { 0, size * 0.5f }, 0);
    graphics::CGContextRestoreGState(context);

    // A thin dark rim keeps the tile's edge crisp on light backgrounds.
    graphics::CGContextSetRGBStrokeColor(context, 0, 0.12f, 0.18f, 0.45f);
    graphics::CGContextSetLineWidth(context, size > 40 ? 1 : 0.5f);
    quartzcore::addRoundedRectPath(context, { { 0.5f, 0.5f }, { size - 1, size - 1 } }, radius);
    graphics::CGContextStrokePath(context);
}

// The icon's name as the home screen shows it: small white text with a dark shadow, centred.
void drawLabel(const CGContext& context, CGSize size)
{
    static constexpr const char name[] = "Torvane";
    CGFloat fontSize = 11;
    auto font = graphics::Font::boldSystemFont(fontSize);
    while (graphics::sizeOfText(name, font).width > size.width - 2 && fontSize > 6)
        font = graphics::Font::boldSystemFont(fontSize -= 0.5f);
    auto text = graphics::sizeOfText(name, font);
    CGPoint origin { (size.width - text.width) / 2, (size.height - text.height) / 2 };
    graphics::CGContextSetShadowWithColor(context, { 0, 1 }, 1.5f, graphics::CGColorCreateRGB(0, 0, 0, 0.9f));
    graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    graphics::drawText(context, name, origin, font);
}

// A red disc with a white bar and a darker rim.
void drawNoEntry(const CGContext& context, CGSize size)
{
    CGRect disc { { 1, 1 }, { size.width - 2, size.height - 2 } };
    graphics::CGContextSaveGState(context);
    graphics::CGContextBeginPath(context);
    graphics::CGContextAddEllipseInRect(context, disc);
    graphics::CGContextClip(context);
    auto body = twoStopGradient(0.98f, 0.30f, 0.26f, 1, 0.75f, 0.05f, 0.04f, 1);
    graphics::CGContextDrawLinearGradient(context, body, { 0, disc.origin.y }, { 0, disc.origin.y + disc.size.height }, 0);
    graphics::CGContextRestoreGState(context);

    graphics::CGContextSetRGBStrokeColor(context, 0.45f, 0, 0, 0.9f);
    graphics::CGContextSetLineWidth(context, 1);
    graphics::CGContextStrokeEllipseInRect(context, { { 1.5f, 1.5f }, { size.width - 3, size.height - 3 } });

    CGFloat barHeight = size.height * 0.18f;
    graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    quartzcore::addRoundedRectPath(context, { { size.width * 0.22f, (size.height - barHeight) / 2 }, { size.width * 0.56f, barHeight } }, barHeight / 3);
    graphics::CGContextFillPath(context);
}

struct BundleImage {
    const char* name;
    CGSize size;
    std::function<void(const CGContext&, CGSize)> draw;
};

}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: torvane-bundle-image-generator OUTPUT_FOLDER\n");
        return 2;
    }
    fs::path output = fs::absolute(argv[1]);
    fs::create_directories(output);
    const std::vector<BundleImage> images {
        { "ShadowImage", { 103, 103 }, drawShadow },
        { "TorvanePreviewIcon", { 59, 59 }, [](const CGContext& context, CGSize size) { drawTile(context, size.width); } },
        { "TorvanePreviewLabel", { 42, 16 }, drawLabel },
        { "TQNever", { 24, 24 }, drawNoEntry },
        { "TorvaneIcon", { 29, 29 }, [](const CGContext& context, CGSize size) { drawTile(context, size.width); } },
    };
    for (auto& image : images) {
        for (CGFloat scale : { 1.0f, 2.0f }) {
            fs::path path = output / (std::string(image.name) + (scale == 2 ? "@2x.png" : ".png"));
            if (!resources::renderPNG(path, image.size, scale, [&](const CGContext& context) { image.draw(context, image.size); })) {
                std::fprintf(stderr, "torvane-bundle-image-generator: cannot write %s\n", path.c_str());
                return 1;
            }
        }
    }
    return 0;
}
