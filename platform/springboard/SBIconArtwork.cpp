#include <springboard/SBIconArtwork.h>

#include <springboard/SBDrawing.h>
#include <springboard/SBIconView.h>

#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIStringDrawing.h>

#include <cmath>
#include <cstdint>

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
    uikit::CGRect tile { { 0, 0 }, { side, side } };
    graphics::CGContextSaveGState(context);
    addRoundedRect(context, tile, cornerRadius);
    graphics::CGContextClip(context);
    fillVerticalGradient(context, tile, fromHue(hue, 0.55, 0.98), fromHue(std::fmod(hue + 0.04, 1.0), 0.85, 0.62));
    graphics::CGContextRestoreGState(context);

    auto font = uikit::UIFont::boldSystemFontOfSize(32);
    std::string initial = initialOf(displayName);
    auto size = uikit::sizeWithFont(initial, font);
    uikit::CGPoint at { (side - size.width) / 2, (side - size.height) / 2 };
    uikit::UIColor::colorWithWhite(0, 0.35)->set();
    uikit::drawAtPoint(initial, { at.x, at.y + 1.5f }, font);
    uikit::UIColor::whiteColor()->set();
    uikit::drawAtPoint(initial, at, font);

    drawGloss(context, tile);
    graphics::CGContextSetRGBStrokeColor(context, 0, 0, 0, 0.25);
    graphics::CGContextSetLineWidth(context, 1);
    addRoundedRect(context, { { 0.5, 0.5 }, { side - 1, side - 1 } }, cornerRadius);
    graphics::CGContextStrokePath(context);
    auto image = uikit::UIGraphicsGetImageFromCurrentImageContext();
    uikit::UIGraphicsEndImageContext();
    return image;
}

runtime::RefPtr<uikit::UIImage> SBIconArtwork::folderIconImage(const std::vector<uikit::UIImage*>& miniatures)
{
    uikit::UIGraphicsBeginImageContextWithOptions({ side, side }, false, 0);
    auto context = uikit::UIGraphicsGetCurrentContext();
    uikit::CGRect tile { { 0, 0 }, { side, side } };
    addRoundedRect(context, tile, cornerRadius);
    graphics::CGContextSaveGState(context);
    graphics::CGContextClip(context);
    fillVerticalGradient(context, tile, { 0.45, 0.47, 0.50, 0.75 }, { 0.15, 0.16, 0.18, 0.8 });
    graphics::CGContextRestoreGState(context);
    const uikit::CGFloat mini = 13;
    const uikit::CGFloat gap = 4;
    const uikit::CGFloat margin = (side - 3 * mini - 2 * gap) / 2;
    for (size_t index = 0; index < miniatures.size() && index < 9; ++index) {
        uikit::CGRect at { { margin + (index % 3) * (mini + gap), margin + (index / 3) * (mini + gap) }, { mini, mini } };
        if (miniatures[index])
            miniatures[index]->drawInRect(at);
    }
    graphics::CGContextSetRGBStrokeColor(context, 1, 1, 1, 0.35);
    graphics::CGContextSetLineWidth(context, 1);
    addRoundedRect(context, { { 0.5, 0.5 }, { side - 1, side - 1 } }, cornerRadius);
    graphics::CGContextStrokePath(context);
    auto image = uikit::UIGraphicsGetImageFromCurrentImageContext();
    uikit::UIGraphicsEndImageContext();
    return image;
}

}
