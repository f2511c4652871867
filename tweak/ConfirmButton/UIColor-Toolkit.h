#pragma once

// A general colour toolkit over uikit::UIColor: colour-model queries, component access, RGB <-> HSB
// (hue in degrees), luminance and the 24-bit hex form, component arithmetic, harmonies, a text form
// with its parser, and two named-colour tables with a nearest-name search. Operations keep the
// names of the UIColor methods they stand for; a method with several out-parameters
// (red:green:blue:alpha:) becomes an overload named after its first part.
//
// Operations that need RGB components (a monochrome or RGB colour) check that first and raise
// ToolkitAssertionFailure otherwise. Everything else reports failure as nil, false or 0. All
// operations may be called from any thread.

#include "ToolkitAssertionFailure.h"
#include "UIColor-Toolkit-Support.h"

#include <runtime/Ref.h>
#include <runtime/RefPtr.h>
#include <uikit/UIColor.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tweak::toolkit {

using uikit::CGFloat;
using uikit::UIColor;

// Model and components.
int colorSpaceModel(const UIColor& color);
std::string colorSpaceString(const UIColor& color);
// The text for a model value; "Not a valid color space" for values no model has.
std::string colorSpaceStringForModel(int model);
bool canProvideRGBComponents(const UIColor& color);
// red:green:blue:alpha: writes only through non-null pointers; false (nothing written) unless the
// colour is monochrome (red = green = blue = white) or RGB.
bool red(const UIColor& color, CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha);
std::optional<std::array<CGFloat, 4>> arrayFromRGBAComponents(const UIColor& color);
CGFloat red(const UIColor& color);
CGFloat green(const UIColor& color);
CGFloat blue(const UIColor& color);
CGFloat white(const UIColor& color);
CGFloat alpha(const UIColor& color);

// HSB: hue:saturation:brightness:alpha: and the three single values (0 when there is no RGB).
bool hue(const UIColor& color, CGFloat* hue, CGFloat* saturation, CGFloat* brightness, CGFloat* alpha);
CGFloat hue(const UIColor& color);
CGFloat saturation(const UIColor& color);
CGFloat brightness(const UIColor& color);

// Luminance and the hex form.
CGFloat luminance(const UIColor& color);
runtime::Ref<UIColor> colorByLuminanceMapping(const UIColor& color);
uint32_t rgbHex(const UIColor& color);
std::string hexStringFromColor(const UIColor& color);
// "{r, g, b, a}" or "{white, alpha}", three decimals each.
std::optional<std::string> stringFromColor(const UIColor& color);

// Arithmetic: each gives a new RGB colour, or nil when the components cannot be had.
runtime::RefPtr<UIColor> colorByMultiplyingBy(const UIColor& color, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
runtime::RefPtr<UIColor> colorByAdding(const UIColor& color, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
runtime::RefPtr<UIColor> colorByLighteningTo(const UIColor& color, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
runtime::RefPtr<UIColor> colorByDarkeningTo(const UIColor& color, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
// One value for red, green and blue; alpha stays as it is.
runtime::RefPtr<UIColor> colorByMultiplyingBy(const UIColor& color, CGFloat factor);
runtime::RefPtr<UIColor> colorByAdding(const UIColor& color, CGFloat value);
runtime::RefPtr<UIColor> colorByLighteningTo(const UIColor& color, CGFloat value);
runtime::RefPtr<UIColor> colorByDarkeningTo(const UIColor& color, CGFloat value);
// Red, green and blue of another colour; alpha stays as it is.
runtime::RefPtr<UIColor> colorByMultiplyingByColor(const UIColor& color, const UIColor& other);
runtime::RefPtr<UIColor> colorByAddingColor(const UIColor& color, const UIColor& other);
runtime::RefPtr<UIColor> colorByLighteningToColor(const UIColor& color, const UIColor& other);
runtime::RefPtr<UIColor> colorByDarkeningToColor(const UIColor& color, const UIColor& other);

// Harmonies.
runtime::Ref<UIColor> contrastingColor(const UIColor& color);
runtime::RefPtr<UIColor> complementaryColor(const UIColor& color);
// 2 * pairCount colours: for each step, the hue that far ahead, then the hue that far behind.
std::optional<std::vector<runtime::Ref<UIColor>>> analogousColorsWithStepAngle(const UIColor& color, CGFloat stepAngle, unsigned pairCount);
std::optional<std::vector<runtime::Ref<UIColor>>> triadicColors(const UIColor& color);

// Names.
std::string closestColorName(const UIColor& color);
std::string closestCrayonName(const UIColor& color);
std::string closestColorNameFor(const UIColor& color, std::string_view database);

// Making colours.
runtime::Ref<UIColor> colorWithRGBHex(uint32_t hex);
runtime::RefPtr<UIColor> colorWithHexString(std::string_view text);
runtime::RefPtr<UIColor> colorWithString(std::string_view text);
runtime::Ref<UIColor> randomColor();
runtime::RefPtr<UIColor> colorWithName(std::string_view name);
runtime::RefPtr<UIColor> crayonWithName(std::string_view name);

// The conversions (hue:saturation:brightness:toRed:green:blue: and red:green:blue:toHue:...).
// HSB to RGB takes hues 0...360 (360 is 0 again) and gives black for hues outside them; RGB to HSB
// gives hues 0 up to but not including 360.
void hueSaturationBrightnessToRGB(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat* red, CGFloat* green, CGFloat* blue);
void rgbToHueSaturationBrightness(CGFloat red, CGFloat green, CGFloat blue, CGFloat* hue, CGFloat* saturation, CGFloat* brightness);

}
