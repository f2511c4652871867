#include <springboard/SBIconArtwork.h>

#include <springboard/SBDrawing.h>
#include <springboard/SBIconView.h>

#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIStringDrawing.h>

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <map>

namespace springboard {

namespace {

constexpr uikit::CGFloat side = SBIconView::iconImageSize;
constexpr uikit::CGFloat cornerRadius = 10;

// FNV-1a: a stable colour for a bundle identifier in every run and on every machine.
uint32_t stableHash(const std::string& text)
{
    uint32_t hash = 2166136261u;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

graphics::ColorRGBA fromHue(double hue, double saturation, double brightness)
{
    auto color = uikit::UIColor::colorWithHue(hue, saturation, brightness, 1);
    uikit::CGFloat r = 0, g = 0, b = 0, a = 0;
    color->getRed(&r, &g, &b, &a);
    return { r, g, b, a };
}

std::string initialOf(const std::string& name)
{
    if (name.empty())
        return "?";
    // The first UTF-8 character, whole.
    size_t length = 1;
    unsigned char lead = static_cast<unsigned char>(name[0]);
    if (lead >= 0xF0)
        length = 4;
    else if (lead >= 0xE0)
        length = 3;
    else if (lead >= 0xC0)
        length = 2;
    return name.substr(0, std::min(length, name.size()));
}

void drawGloss(const graphics::CGContext& context, uikit::CGRect tile)
{
    graphics::CGContextSaveGState(context);
    addRoundedRect(context, tile, cornerRadius);
    graphics::CGContextClip(context);
    graphics::CGContextBeginPath(context);
    graphics::CGContextAddEllipseInRect(context, { { -side * 0.35, -side * 0.62 }, { side * 1.7, side * 1.12 } });
    graphics::CGContextClip(context);
    fillVerticalGradient(context, { { 0, 0 }, { side, side * 0.5 } }, { 1, 1, 1, 0.55 }, { 1, 1, 1, 0.12 });
    graphics::CGContextRestoreGState(context);
}

// What every drawn icon of one scale shares, drawn once: the tile's shape, to paint an icon's
// colour through, and what goes over the colour (an application's initial, a folder's miniatures):
// the gloss and a dark edge for applications, a light edge for folders. Clipping to a rounded
// shape costs Cairo far more than painting through a mask, and SpringBoard draws a hundred icons
// as it starts.
struct TileParts {
    graphics::CGImage shape;
    graphics::CGImage applicationOverlay;
    graphics::CGImage folderOverlay;
};

graphics::CGImage drawnTilePart(uikit::CGFloat scale, const std::function<void(const graphics::CGContext&)>& draw)
{
    auto pixels = static_cast<int>(std::lround(side * scale));
    auto context = graphics::CGBitmapContextCreate(pixels, pixels, scale);
    draw(context);
    return graphics::CGBitmapContextCreateImage(context);
}

void strokeEdge(const graphics::CGContext& context, graphics::ColorRGBA color)
{
    graphics::CGContextSetRGBStrokeColor(context, color.red, color.green, color.blue, color.alpha);
    graphics::CGContextSetLineWidth(context, 1);
    addRoundedRect(context, { { 0.5, 0.5 }, { side - 1, side - 1 } }, cornerRadius);
    graphics::CGContextStrokePath(context);
}

const TileParts& tileParts(uikit::CGFloat scale)
{
    static std::map<uikit::CGFloat, TileParts> partsByScale;
    auto [it, made] = partsByScale.try_emplace(scale);
    if (!made)
        return it->second;
    const uikit::CGRect tile { { 0, 0 }, { side, side } };
    it->second.shape = drawnTilePart(scale, [&](const graphics::CGContext& context) {
        graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 1);
        addRoundedRect(context, tile, cornerRadius);
        graphics::CGContextFillPath(context);
    });
    it->second.applicationOverlay = drawnTilePart(scale, [&](const graphics::CGContext& context) {
        drawGloss(context, tile);
        strokeEdge(context, { 0, 0, 0, 0.25 });
    });
    it->second.folderOverlay = drawnTilePart(scale, [&](const graphics::CGContext& context) {
        strokeEdge(context, { 1, 1, 1, 0.35 });
    });
    return it->second;
}

// The tile in a vertical gradient from `top` to `bottom`, painted through its shape.
void paintTile(const graphics::CGContext& context, const graphics::CGImage& shape, graphics::ColorRGBA top, graphics::ColorRGBA bottom)
{
    context.drawOperation([&](cairo_t* cr) {
        cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, side);
        cairo_pattern_add_color_stop_rgba(gradient, 0, top.red, top.green, top.blue, top.alpha);
        cairo_pattern_add_color_stop_rgba(gradient, 1, bottom.red, bottom.green, bottom.blue, bottom.alpha);
        cairo_pattern_set_extend(gradient, CAIRO_EXTEND_PAD);
        cairo_save(cr);
        cairo_set_source(cr, gradient);
        cairo_pattern_destroy(gradient);
        cairo_scale(cr, side / shape.width(), side / shape.height());
        cairo_mask_surface(cr, shape.surface(), 0, 0);
        cairo_restore(cr);
    });
}

}

std::string SBIconArtwork::iconPathForBundleIdentifier(const std::string& bundleIdentifier)
{
    return "/Applications/" + bundleIdentifier + ".app/Icon.png";
}

runtime::RefPtr<uikit::UIImage> SBIconArtwork::applicationIconImage(const std::string& bundleIdentifier, const std::string& displayName)
{
    if (auto image = uikit::UIImage::imageWithContentsOfFile(iconPathForBundleIdentifier(bundleIdentifier)))
        return image;
    return drawnApplicationIconImage(bundleIdentifier, displayName);
}

runtime::RefPtr<uikit::UIImage> SBIconArtwork::drawnApplicationIconImage(const std::string& bundleIdentifier, const std::string& displayName)
{
    uint32_t hash = stableHash(bundleIdentifier);
    double hue = (hash % 360) / 360.0;
    uikit::UIGraphicsBeginImageContextWithOptions({ side, side }, false, 0);
    auto context = uikit::UIGraphicsGetCurrentContext();
    const uikit::CGRect tile { { 0, 0 }, { side, side } };
    const TileParts& parts = tileParts(context.scale());
    paintTile(context, parts.shape, fromHue(hue, 0.55, 0.98), fromHue(std::fmod(hue + 0.04, 1.0), 0.85, 0.62));

    auto font = uikit::UIFont::boldSystemFontOfSize(32);
    std::string initial = initialOf(displayName);
    auto size = uikit::sizeWithFont(initial, font);
    uikit::CGPoint at { (side - size.width) / 2, (side - size.height) / 2 };
    uikit::UIColor::colorWithWhite(0, 0.35)->set();
    uikit::drawAtPoint(initial, { at.x, at.y + 1.5f }, font);
    uikit::UIColor::whiteColor()->set();
    uikit::drawAtPoint(initial, at, font);

    graphics::CGContextDrawImage(context, tile, parts.applicationOverlay);
    auto image = uikit::UIGraphicsGetImageFromCurrentImageContext();
    uikit::UIGraphicsEndImageContext();
    return image;
}

runtime::RefPtr<uikit::UIImage> SBIconArtwork::folderIconImage(const std::vector<uikit::UIImage*>& miniatures)
{
    uikit::UIGraphicsBeginImageContextWithOptions({ side, side }, false, 0);
    auto context = uikit::UIGraphicsGetCurrentContext();
    const uikit::CGRect tile { { 0, 0 }, { side, side } };
    const TileParts& parts = tileParts(context.scale());
    paintTile(context, parts.shape, { 0.45, 0.47, 0.50, 0.75 }, { 0.15, 0.16, 0.18, 0.8 });
    const uikit::CGFloat mini = 13;
    const uikit::CGFloat gap = 4;
    const uikit::CGFloat margin = (side - 3 * mini - 2 * gap) / 2;
    for (size_t index = 0; index < miniatures.size() && index < 9; ++index) {
        uikit::CGRect at { { margin + (index % 3) * (mini + gap), margin + (index / 3) * (mini + gap) }, { mini, mini } };
        if (miniatures[index])
            miniatures[index]->drawInRect(at);
    }
    graphics::CGContextDrawImage(context, tile, parts.folderOverlay);
    auto image = uikit::UIGraphicsGetImageFromCurrentImageContext();
    uikit::UIGraphicsEndImageContext();
    return image;
}

}
