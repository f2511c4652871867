// Draws the indicator themes that ship with the device into a themes folder:
//
//   torvane-theme-generator OUTPUT_FOLDER
//
// writes OUTPUT_FOLDER/<Theme>/list.plist and each image at 1x and @2x. The repository keeps the
// result in resources/Themes (the driver copies it into every device); run this again after
// changing a look.
//
// Themes (frames are relative to the 59 x 59 icon image):
//   IconOutlines   "Icon Outlines"    a soft glow around the icon        {{-7.75f,-8.75f},{74.5f,76.0f}}
//   IconLabelBars  "Icon Label Bars"  a rounded bar behind the name      {{-6,61},{71,15}}
//   RunningDots    "Running Dots"     a small lit dot under the name     {{24.5,77},{10,10}}

#include "PngCanvas.h"

#include <foundation/DeviceRoot.h>
#include <foundation/NSArray.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSString.h>
#include <graphics/Context.h>
#include <graphics/Geometry.h>
#include <graphics/Image.h>
#include <quartzcore/LayerPainting.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using graphics::CGFloat;

struct Tint {
    const char* displayName;
    const char* suffix;
    CGFloat red, green, blue;
};

const std::vector<Tint> tints {
    { "Red", "Red", 1.0f, 0.16f, 0.12f },
    { "Blue", "Blue", 0.20f, 0.55f, 1.0f },
    { "Green", "Green", 0.25f, 0.95f, 0.30f },
    { "White", "White", 1.0f, 1.0f, 1.0f },
};

// A glow hugging the icon's rounded square: rings that fade outwards, brightest at the edge.
void drawGlow(const graphics::CGContext& context, const Tint& tint)
{
    graphics::CGRect icon { { 7.75f, 8.75f }, { 59, 59 } };
    for (int ring = 7; ring >= 1; --ring) {
        CGFloat inset = -static_cast<CGFloat>(ring);
        graphics::CGRect rect { { icon.origin.x + inset, icon.origin.y + inset }, { icon.size.width - 2 * inset, icon.size.height - 2 * inset } };
        graphics::CGContextSetRGBStrokeColor(context, tint.red, tint.green, tint.blue, 0.10f + 0.11f * (8 - ring));
        graphics::CGContextSetLineWidth(context, 1.6f);
        quartzcore::addRoundedRectPath(context, rect, 10 + ring);
        graphics::CGContextStrokePath(context);
    }
    graphics::CGContextSetRGBStrokeColor(context, tint.red, tint.green, tint.blue, 1);
    graphics::CGContextSetLineWidth(context, 2);
    quartzcore::addRoundedRectPath(context, icon, 10);
    graphics::CGContextStrokePath(context);
}

void drawBar(const graphics::CGContext& context, const Tint& tint, graphics::CGSize size)
{
    graphics::CGRect bar { { 0.5f, 0.5f }, { size.width - 1, size.height - 1 } };
    graphics::CGContextSetRGBFillColor(context, tint.red * 0.8f, tint.green * 0.8f, tint.blue * 0.8f, 0.85f);
    quartzcore::addRoundedRectPath(context, bar, bar.size.height / 2);
    graphics::CGContextFillPath(context);
    graphics::CGContextSetRGBStrokeColor(context, 1, 1, 1, 0.5f);
    graphics::CGContextSetLineWidth(context, 1);
    quartzcore::addRoundedRectPath(context, bar, bar.size.height / 2);
    graphics::CGContextStrokePath(context);
}

void drawDot(const graphics::CGContext& context, const Tint& tint, graphics::CGSize size)
{
    graphics::CGContextSetRGBFillColor(context, tint.red, tint.green, tint.blue, 0.35f);
    graphics::CGContextFillEllipseInRect(context, { { 0, 0 }, size });
    graphics::CGContextSetRGBFillColor(context, tint.red, tint.green, tint.blue, 1);
    graphics::CGContextFillEllipseInRect(context, { { 2, 2 }, { size.width - 4, size.height - 4 } });
    graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 0.8f);
    graphics::CGContextFillEllipseInRect(context, { { 3.2f, 3 }, { 2.2f, 2 } });
}

struct Theme {
    const char* folder;
    const char* name;
    const char* frame;
    graphics::CGSize size;
    const char* prefix;
    const char* kind;
    std::function<void(const graphics::CGContext&, const Tint&, graphics::CGSize)> draw;
};

bool writeTheme(const fs::path& output, const Theme& theme)
{
    fs::path folder = output / theme.folder;
    fs::create_directories(folder);
    foundation::NSArray::Storage names;
    for (auto& tint : tints) {
        std::string file = std::string(theme.prefix) + tint.suffix;
        for (CGFloat scale : { 1.0f, 2.0f }) {
            fs::path path = folder / (file + (scale == 2 ? "@2x.png" : ".png"));
            if (!resources::renderPNG(path, theme.size, scale, [&](const graphics::CGContext& context) { theme.draw(context, tint, theme.size); }))
                return false;
        }
        names.push_back(foundation::NSDictionary::create({
            { "DisplayName", foundation::NSString::create(std::string(tint.displayName) + " " + theme.kind) },
            { "RealName", foundation::NSString::create(file + ".png") },
        }));
    }
    auto list = foundation::NSDictionary::create({
        { "ThemeFolderName", foundation::NSString::create(theme.name) },
        { "ImageFrame", foundation::NSString::create(theme.frame) },
        { "Names", foundation::NSArray::create(std::move(names)) },
    });
    // Property lists are written through the device file layer, whose root is the output folder.
    return list->writeToFile("/" + std::string(theme.folder) + "/list.plist", true);
}

}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: torvane-theme-generator OUTPUT_FOLDER\n");
        return 2;
    }
    fs::path output = fs::absolute(argv[1]);
    fs::create_directories(output);
    foundation::DeviceRoot::set(output.string());
    const std::vector<Theme> themes {
        { "IconOutlines", "Icon Outlines", "{{-7.75f,-8.75f},{74.5f,76.0f}}", { 74.5f, 76 }, "Glow", "Glow",
            [](const graphics::CGContext& context, const Tint& tint, graphics::CGSize) { drawGlow(context, tint); } },
        { "IconLabelBars", "Icon Label Bars", "{{-6,61},{71,15}}", { 71, 15 }, "Bar", "Bar", drawBar },
        { "RunningDots", "Running Dots", "{{24.5,77},{10,10}}", { 10, 10 }, "Dot", "Dot", drawDot },
    };
    for (auto& theme : themes) {
        if (!writeTheme(output, theme)) {
            std::fprintf(stderr, "torvane-theme-generator: cannot write the theme %s into %s\n", theme.folder, output.c_str());
            return 1;
        }
    }
    return 0;
}
