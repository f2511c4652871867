#include "UIColor-Toolkit.h"

#include "ColorNameDatabases.h"
#include "ColorTextScanner.h"

#include <graphics/Color.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tweak::toolkit {

using runtime::Ref;
using runtime::RefPtr;

namespace {

constexpr std::string_view arithmeticMessage = "Must be a RGB color to use arithmetic operations";

const CGFloat* componentsOf(const UIColor& color)
{
    return graphics::CGColorGetComponents(color.CGColor());
}

std::string formatted(const char* format, auto... values)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, format, static_cast<double>(values)...);
    return buffer;
}

// The four arithmetic operations differ only in what they do to one component.
template<typename Combine>
RefPtr<UIColor> combineComponents(const UIColor& color, std::array<CGFloat, 4> values, Combine combine)
{
    assertToolkitCondition(canProvideRGBComponents(color), "-colorByArithmetic", arithmeticMessage);
    std::array<CGFloat, 4> own {};
    if (!red(color, &own[0], &own[1], &own[2], &own[3]))
        return nullptr;
    return UIColor::colorWithRed(combine(own[0], values[0]), combine(own[1], values[1]), combine(own[2], values[2]),
        combine(own[3], values[3]));
}

CGFloat clampedProduct(CGFloat component, CGFloat value) { return std::max(std::min(component * value, 1.0f), 0.0f); }
CGFloat clampedSum(CGFloat component, CGFloat value) { return std::max(std::min(component + value, 1.0f), 0.0f); }
CGFloat larger(CGFloat component, CGFloat value) { return std::max(component, value); }
CGFloat smaller(CGFloat component, CGFloat value) { return std::min(component, value); }

template<typename Combine>
RefPtr<UIColor> combineWithColor(const UIColor& color, const UIColor& other, CGFloat alpha, Combine combine)
{
    assertToolkitCondition(canProvideRGBComponents(color), "-colorByArithmeticWithColor", arithmeticMessage);
    CGFloat r, g, b;
    if (!red(other, &r, &g, &b, nullptr))
        return nullptr;
    return combineComponents(color, { r, g, b, alpha }, combine);
}

// One number of at most two hex digits, white space before it skipped; the cursor moves past it.
std::optional<int> readHexPair(std::string_view text, size_t& cursor)
{
    while (cursor < text.size() && (text[cursor] == ' ' || text[cursor] == '\t' || text[cursor] == '\n'))
        ++cursor;
    ColorTextScanner scanner(text.substr(cursor, 2));
    std::optional<uint32_t> value = scanner.scanHexInt();
    if (!value)
        return std::nullopt;
    cursor += scanner.position();
    return static_cast<int>(*value);
}

Ref<UIColor> colorWithHSBA(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha)
{
    CGFloat r, g, b;
    hueSaturationBrightnessToRGB(hue, saturation, brightness, &r, &g, &b);
    return UIColor::colorWithRed(r, g, b, alpha);
}

}

int colorSpaceModel(const UIColor& color)
{
    return graphics::CGColorSpaceGetModel(graphics::CGColorGetColorSpace(color.CGColor()));
}

std::string colorSpaceStringForModel(int model)
{
    switch (model) {
    case graphics::kCGColorSpaceModelUnknown: return "kCGColorSpaceModelUnknown";
    case graphics::kCGColorSpaceModelMonochrome: return "kCGColorSpaceModelMonochrome";
    case graphics::kCGColorSpaceModelRGB: return "kCGColorSpaceModelRGB";
    case graphics::kCGColorSpaceModelCMYK: return "kCGColorSpaceModelCMYK";
    case graphics::kCGColorSpaceModelLab: return "kCGColorSpaceModelLab";
    case graphics::kCGColorSpaceModelDeviceN: return "kCGColorSpaceModelDeviceN";
    case graphics::kCGColorSpaceModelIndexed: return "kCGColorSpaceModelIndexed";
    case graphics::kCGColorSpaceModelPattern: return "kCGColorSpaceModelPattern";
    default: return "Not a valid color space";
    }
}

std::string colorSpaceString(const UIColor& color)
{
    return colorSpaceStringForModel(colorSpaceModel(color));
}

bool canProvideRGBComponents(const UIColor& color)
{
    int model = colorSpaceModel(color);
    return model == graphics::kCGColorSpaceModelMonochrome || model == graphics::kCGColorSpaceModelRGB;
}

bool red(const UIColor& color, CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha)
{
    const CGFloat* components = componentsOf(color);
    std::array<CGFloat, 4> rgba {};
    switch (colorSpaceModel(color)) {
    case graphics::kCGColorSpaceModelMonochrome:
        rgba = { components[0], components[0], components[0], components[1] };
        break;
    case graphics::kCGColorSpaceModelRGB:
        rgba = { components[0], components[1], components[2], components[3] };
        break;
    default:
        return false;
    }
    if (red)
        *red = rgba[0];
    if (green)
        *green = rgba[1];
    if (blue)
        *blue = rgba[2];
    if (alpha)
        *alpha = rgba[3];
    return true;
}

std::optional<std::array<CGFloat, 4>> arrayFromRGBAComponents(const UIColor& color)
{
    assertToolkitCondition(canProvideRGBComponents(color), "-arrayFromRGBAComponents",
        "Must be an RGB color to use -arrayFromRGBAComponents");
    std::array<CGFloat, 4> rgba {};
    if (!red(color, &rgba[0], &rgba[1], &rgba[2], &rgba[3]))
        return std::nullopt;
    return rgba;
}

CGFloat red(const UIColor& color)
{
    assertToolkitCondition(canProvideRGBComponents(color), "-red", "Must be an RGB color to use -red");
    return componentsOf(color)[0];
}

CGFloat green(const UIColor& color)
{
    assertToolkitCondition(canProvideRGBComponents(color), "-green", "Must be an RGB color to use -green");
    return componentsOf(color)[colorSpaceModel(color) == graphics::kCGColorSpaceModelRGB ? 1 : 0];
}

CGFloat blue(const UIColor& color)
{
    assertToolkitCondition(canProvideRGBComponents(color), "-blue", "Must be an RGB color to use -blue");
    return componentsOf(color)[colorSpaceModel(color) == graphics::kCGColorSpaceModelRGB ? 2 : 0];
}

CGFloat white(const UIColor& color)
{
    assertToolkitCondition(colorSpaceModel(color) == graphics::kCGColorSpaceModelMonochrome, "-white",
        "Must be a Monochrome color to use -white");
    return componentsOf(color)[0];
}

CGFloat alpha(const UIColor& color)
{
    return graphics::CGColorGetAlpha(color.CGColor());
}

bool hue(const UIColor& color, CGFloat* hue, CGFloat* saturation, CGFloat* brightness, CGFloat* alpha)
{
    CGFloat r, g, b, a;
    if (!red(color, &r, &g, &b, &a))
        return false;
    rgbToHueSaturationBrightness(r, g, b, hue, saturation, brightness);
    if (alpha)
        *alpha = a;
    return true;
}

CGFloat hue(const UIColor& color)
{
    assertToolkitCondition(canProvideRGBComponents(color), "-hue", "Must be an RGB color to use -hue");
    CGFloat value = 0;
    return hue(color, &value, nullptr, nullptr, nullptr) ? value : 0;
}

CGFloat saturation(const UIColor& color)
{
    assertToolkitCondition(canProvideRGBComponents(color), "-saturation", "Must be an RGB color to use -saturation");
    CGFloat value = 0;
    return hue(color, nullptr, &value, nullptr, nullptr) ? value : 0;
}

CGFloat brightness(const UIColor& color)
{
    assertToolkitCondition(canProvideRGBComponents(color), "-brightness", "Must be an RGB color to use -brightness");
    CGFloat value = 0;
    return hue(color, nullptr, nullptr, &value, nullptr) ? value : 0;
}

CGFloat luminance(const UIColor& color)
{
    assertToolkitCondition(canProvideRGBComponents(color), "-luminance", "Must be a RGB color to use luminance");
    CGFloat r, g, b;
    if (!red(color, &r, &g, &b, nullptr))
        return 0;
    return r * 0.2126f + g * 0.7152f + b * 0.0722f;
}

Ref<UIColor> colorByLuminanceMapping(const UIColor& color)
{
    return UIColor::colorWithWhite(luminance(color), 1);
}

uint32_t rgbHex(const UIColor& color)
{
    assertToolkitCondition(canProvideRGBComponents(color), "-rgbHex", "Must be a RGB color to use rgbHex");
    CGFloat r, g, b;
    if (!red(color, &r, &g, &b, nullptr))
        return 0;
    auto toByte = [](CGFloat component) {
        return static_cast<uint32_t>(std::lround(std::clamp(component, 0.0f, 1.0f) * 255.0f));
    };
    return toByte(r) * 65536 + toByte(g) * 256 + toByte(b);
}

std::string hexStringFromColor(const UIColor& color)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.6X", rgbHex(color));
    return buffer;
}

std::optional<std::string> stringFromColor(const UIColor& color)
{
    assertToolkitCondition(canProvideRGBComponents(color), "-stringFromColor",
        "Must be an RGB color to use -stringFromColor");
    const CGFloat* c = componentsOf(color);
    switch (colorSpaceModel(color)) {
    case graphics::kCGColorSpaceModelRGB:
        return formatted("{%0.3f, %0.3f, %0.3f, %0.3f}", c[0], c[1], c[2], c[3]);
    case graphics::kCGColorSpaceModelMonochrome:
        return formatted("{%0.3f, %0.3f}", c[0], c[1]);
    default:
        return std::nullopt;
    }
}

RefPtr<UIColor> colorByMultiplyingBy(const UIColor& color, CGFloat r, CGFloat g, CGFloat b, CGFloat a)
{
    return combineComponents(color, { r, g, b, a }, clampedProduct);
}

RefPtr<UIColor> colorByAdding(const UIColor& color, CGFloat r, CGFloat g, CGFloat b, CGFloat a)
{
    return combineComponents(color, { r, g, b, a }, clampedSum);
}

RefPtr<UIColor> colorByLighteningTo(const UIColor& color, CGFloat r, CGFloat g, CGFloat b, CGFloat a)
{
    return combineComponents(color, { r, g, b, a }, larger);
}

RefPtr<UIColor> colorByDarkeningTo(const UIColor& color, CGFloat r, CGFloat g, CGFloat b, CGFloat a)
{
    return combineComponents(color, { r, g, b, a }, smaller);
}

RefPtr<UIColor> colorByMultiplyingBy(const UIColor& color, CGFloat factor)
{
    return colorByMultiplyingBy(color, factor, factor, factor, 1);
}

RefPtr<UIColor> colorByAdding(const UIColor& color, CGFloat value)
{
    return colorByAdding(color, value, value, value, 0);
}

RefPtr<UIColor> colorByLighteningTo(const UIColor& color, CGFloat value)
{
    return colorByLighteningTo(color, value, value, value, 0);
}

RefPtr<UIColor> colorByDarkeningTo(const UIColor& color, CGFloat value)
{
    return colorByDarkeningTo(color, value, value, value, 1);
}

RefPtr<UIColor> colorByMultiplyingByColor(const UIColor& color, const UIColor& other)
{
    return combineWithColor(color, other, 1, clampedProduct);
}

RefPtr<UIColor> colorByAddingColor(const UIColor& color, const UIColor& other)
{
    return combineWithColor(color, other, 0, clampedSum);
}

RefPtr<UIColor> colorByLighteningToColor(const UIColor& color, const UIColor& other)
{
    return combineWithColor(color, other, 0, larger);
}

RefPtr<UIColor> colorByDarkeningToColor(const UIColor& color, const UIColor& other)
{
    return combineWithColor(color, other, 1, smaller);
}

Ref<UIColor> contrastingColor(const UIColor& color)
{
    return luminance(color) > 0.5f ? UIColor::blackColor() : UIColor::whiteColor();
}

RefPtr<UIColor> complementaryColor(const UIColor& color)
{
    CGFloat h, s, v, a;
    if (!hue(color, &h, &s, &v, &a))
        return nullptr;
    h += 180;
    if (h > 360)
        h -= 360;
    return colorWithHSBA(h, s, v, a);
}

std::optional<std::vector<Ref<UIColor>>> analogousColorsWithStepAngle(const UIColor& color, CGFloat stepAngle, unsigned pairCount)
{
    CGFloat h, s, v, a;
    if (!hue(color, &h, &s, &v, &a))
        return std::nullopt;
    std::vector<Ref<UIColor>> colors;
    colors.reserve(2 * pairCount);
    for (unsigned i = 1; i <= pairCount; ++i) {
        CGFloat angle = std::fmod(std::fabs(stepAngle) * static_cast<CGFloat>(i), 360.0f);
        colors.push_back(colorWithHSBA(std::fmod(h + angle, 360.0f), s, v, a));
        colors.push_back(colorWithHSBA(std::fmod(h + 360 - angle, 360.0f), s, v, a));
    }
    return colors;
}

std::optional<std::vector<Ref<UIColor>>> triadicColors(const UIColor& color)
{
    return analogousColorsWithStepAngle(color, 120, 1);
}

std::string closestColorName(const UIColor& color)
{
    return closestColorNameFor(color, colorNameDB());
}

std::string closestCrayonName(const UIColor& color)
{
    return closestColorNameFor(color, crayolaNameDB());
}

std::string closestColorNameFor(const UIColor& color, std::string_view database)
{
    assertToolkitCondition(canProvideRGBComponents(color), "-closestColorNameFor:",
        "Must be a RGB color to use closestColorName");
    uint32_t hex = rgbHex(color);
    int own[3] = { static_cast<int>((hex >> 16) & 0xFF), static_cast<int>((hex >> 8) & 0xFF), static_cast<int>(hex & 0xFF) };
    float best = std::numeric_limits<float>::max();
    size_t bestMark = std::string_view::npos;
    for (size_t mark = database.find('#'); mark != std::string_view::npos; mark = database.find('#', mark + 1)) {
        size_t cursor = mark + 1;
        std::optional<int> entry[3];
        for (auto& component : entry) {
            component = readHexPair(database, cursor);
            if (!component)
                break;
        }
        if (!entry[2])
            continue;
        float distance = 0;
        for (int i = 0; i < 3; ++i)
            distance += std::log(static_cast<float>(std::abs(own[i] - *entry[i])) + 1.0f);
        if (distance < best) {
            best = distance;
            bestMark = mark;
        }
    }
    if (bestMark == std::string_view::npos)
        return {};
    size_t comma = database.rfind(',', bestMark);
    size_t start = comma == std::string_view::npos ? 0 : comma + 1;
    return std::string(database.substr(start, bestMark - start));
}

Ref<UIColor> colorWithRGBHex(uint32_t hex)
{
    return UIColor::colorWithRed(static_cast<CGFloat>((hex >> 16) & 0xFF) / 255.0f,
        static_cast<CGFloat>((hex >> 8) & 0xFF) / 255.0f, static_cast<CGFloat>(hex & 0xFF) / 255.0f, 1);
}

RefPtr<UIColor> colorWithHexString(std::string_view text)
{
    ColorTextScanner scanner(text);
    std::optional<uint32_t> hex = scanner.scanHexInt();
    if (!hex)
        return nullptr;
    return colorWithRGBHex(*hex);
}

RefPtr<UIColor> colorWithString(std::string_view text)
{
    ColorTextScanner scanner(text);
    if (!scanner.scanCharacter('{'))
        return nullptr;
    std::vector<CGFloat> values;
    while (true) {
        std::optional<float> value = scanner.scanFloat();
        if (!value)
            return nullptr;
        values.push_back(*value);
        if (scanner.scanCharacter('}')) {
            if (!scanner.isAtEnd())
                return nullptr;
            if (values.size() == 2)
                return UIColor::colorWithWhite(values[0], values[1]);
            if (values.size() == 4)
                return UIColor::colorWithRed(values[0], values[1], values[2], values[3]);
            return nullptr;
        }
        if (values.size() == 4 || !scanner.scanCharacter(','))
            return nullptr;
    }
}

Ref<UIColor> randomColor()
{
    constexpr CGFloat scale = 1.0f / 2147483648.0f;
    auto component = [] { return static_cast<CGFloat>(static_cast<double>(::random()) * scale); };
    CGFloat r = component();
    CGFloat g = component();
    CGFloat b = component();
    return UIColor::colorWithRed(r, g, b, 1);
}

RefPtr<UIColor> colorWithName(std::string_view name)
{
    const NamedColorDictionary& colors = namedColors();
    auto found = colors.find(name);
    return found == colors.end() ? RefPtr<UIColor>() : RefPtr<UIColor>(found->second);
}

RefPtr<UIColor> crayonWithName(std::string_view name)
{
    const NamedColorDictionary& crayons = namedCrayons();
    auto found = crayons.find(name);
    return found == crayons.end() ? RefPtr<UIColor>() : RefPtr<UIColor>(found->second);
}

void hueSaturationBrightnessToRGB(CGFloat h, CGFloat s, CGFloat v, CGFloat* red, CGFloat* green, CGFloat* blue)
{
    std::array<CGFloat, 3> rgb { v, v, v };
    if (s != 0) {
        if (h == 360)
            h = 0;
        CGFloat sector = h / 60;
        CGFloat whole = std::floor(sector);
        CGFloat f = sector - whole;
        CGFloat p = v * (1 - s);
        CGFloat q = v * (1 - s * f);
        CGFloat t = v * (1 - s * (1 - f));
        // Hues below 0 or past 360 fall outside the six sectors.
        int i = whole >= 0 && whole < 6 ? static_cast<int>(whole) : -1;
        switch (i) {
        case 0: rgb = { v, t, p }; break;
        case 1: rgb = { q, v, p }; break;
        case 2: rgb = { p, v, t }; break;
        case 3: rgb = { p, q, v }; break;
        case 4: rgb = { t, p, v }; break;
        case 5: rgb = { v, p, q }; break;
        default: rgb = { 0, 0, 0 }; break;
        }
    }
    if (red)
        *red = rgb[0];
    if (green)
        *green = rgb[1];
    if (blue)
        *blue = rgb[2];
}

void rgbToHueSaturationBrightness(CGFloat r, CGFloat g, CGFloat b, CGFloat* hue, CGFloat* saturation, CGFloat* brightness)
{
    CGFloat max = std::max({ r, g, b });
    CGFloat min = std::min({ r, g, b });
    CGFloat h = 0;
    CGFloat s = 0;
    if (max != 0) {
        CGFloat delta = max - min;
        s = delta / max;
        if (s != 0) {
            CGFloat rc = (max - r) / delta;
            CGFloat gc = (max - g) / delta;
            CGFloat bc = (max - b) / delta;
            if (r == max)
                h = bc - gc;
            else if (g == max)
                h = 2 + rc - bc;
            else
                h = 4 + gc - rc;
            h *= 60;
            if (h < 0)
                h += 360;
        }
    }
    if (hue)
        *hue = h;
    if (saturation)
        *saturation = s;
    if (brightness)
        *brightness = max;
}

}
