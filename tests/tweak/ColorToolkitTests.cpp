#include <ConfirmButton/ColorNameDatabases.h>
#include <ConfirmButton/UIColor-Toolkit.h>

#include <graphics/Color.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

namespace toolkit = tweak::toolkit;
using runtime::Ref;
using uikit::UIColor;

namespace {

std::string failureMessage(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const toolkit::ToolkitAssertionFailure& failure) {
        return failure.what();
    }
    return "(no failure)";
}

Ref<UIColor> cmykColor()
{
    const uikit::CGFloat components[] = { 0.1f, 0.2f, 0.3f, 0.4f, 1 };
    return UIColor::colorWithCGColor(graphics::CGColorCreate(graphics::CGColorSpaceCreateDeviceCMYK(), components));
}

// Entries of a name database as (name, hex digits).
std::vector<std::pair<std::string, std::string>> entriesOf(std::string_view database)
{
    std::vector<std::pair<std::string, std::string>> entries;
    std::stringstream text { std::string(database.substr(1)) };
    for (std::string entry; std::getline(text, entry, ',');)
        entries.emplace_back(entry.substr(0, entry.find('#')), entry.substr(entry.find('#') + 1));
    return entries;
}

}

TEST(ColorToolkit, ConversionsAgreeWithAnIndependentTable)
{
    std::ifstream table(TORVANE_TWEAK_DATA "/colour-conversions.tsv");
    ASSERT_TRUE(table.is_open());
    int rgbRows = 0, hsbRows = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream row(line);
        std::string kind;
        float a, b, c, x, y, z;
        row >> kind >> a >> b >> c >> x >> y >> z;
        SCOPED_TRACE(line);
        if (kind == "rgb") {
            float lum;
            std::string hex;
            row >> lum >> hex;
            Ref<UIColor> color = UIColor::colorWithRed(a, b, c, 1);
            // Hues just under 360 and 0 are the same colour.
            float hueDifference = std::fabs(toolkit::hue(color) - x);
            EXPECT_LT(std::min(hueDifference, 360 - hueDifference), 1e-3);
            EXPECT_LT(toolkit::hue(color), 360);
            EXPECT_NEAR(toolkit::saturation(color), y, 1e-5);
            EXPECT_NEAR(toolkit::brightness(color), z, 1e-6);
            EXPECT_NEAR(toolkit::luminance(color), lum, 1e-5);
            EXPECT_EQ(toolkit::hexStringFromColor(color), hex);
            ++rgbRows;
        } else {
            float r, g, bl;
            toolkit::hueSaturationBrightnessToRGB(a, b, c, &r, &g, &bl);
            EXPECT_NEAR(r, x, 1e-5);
            EXPECT_NEAR(g, y, 1e-5);
            EXPECT_NEAR(bl, z, 1e-5);
            ++hsbRows;
        }
    }
    EXPECT_GT(rgbRows, 100);
    EXPECT_GT(hsbRows, 100);
}

TEST(ColorToolkit, HueEdgesAndHexRounding)
{
    float r, g, b;
    toolkit::hueSaturationBrightnessToRGB(360, 1, 1, &r, &g, &b);
    EXPECT_EQ(std::vector<float>({ r, g, b }), std::vector<float>({ 1, 0, 0 }));
    for (float outside : { 420.0f, -10.0f }) {
        toolkit::hueSaturationBrightnessToRGB(outside, 1, 1, &r, &g, &b);
        EXPECT_EQ(std::vector<float>({ r, g, b }), std::vector<float>({ 0, 0, 0 })) << outside;
    }
    EXPECT_EQ(toolkit::rgbHex(UIColor::colorWithRed(1, 0.5f, 0, 1)), 0xFF8000u);
    // Components stored outside 0...1 are clamped before they become bytes.
    Ref<UIColor> outOfRange = UIColor::colorWithCGColor(graphics::CGColorCreateRGB(1.2f, -0.1f, 0.5f, 1));
    EXPECT_EQ(toolkit::hexStringFromColor(outOfRange), "FF0080");
    EXPECT_EQ(toolkit::hexStringFromColor(toolkit::colorWithRGBHex(0x7F00000A)), "00000A");
    EXPECT_EQ(toolkit::rgbHex(*toolkit::colorWithHexString(" FF8800")), 0xFF8800u);
    EXPECT_EQ(toolkit::rgbHex(*toolkit::colorWithHexString("0x00ff00")), 0x00FF00u);
    EXPECT_FALSE(toolkit::colorWithHexString("zz0000"));
    EXPECT_FALSE(toolkit::colorWithHexString(""));
}

// A quarter into each of the six sectors of the hue circle, both ways: there the rising and the
// falling component differ (0.25 and 0.75), so a sector's formula used for another, or a rising
// component mistaken for a falling one, shows.
TEST(ColorToolkit, EverySectorOfTheHueCircle)
{
    struct Sector {
        float hue, r, g, b;
    };
    for (auto sector : { Sector { 15, 1, 0.25f, 0 }, Sector { 75, 0.75f, 1, 0 }, Sector { 135, 0, 1, 0.25f }, Sector { 195, 0, 0.75f, 1 },
             Sector { 255, 0.25f, 0, 1 }, Sector { 315, 1, 0, 0.75f } }) {
        float r, g, b;
        toolkit::hueSaturationBrightnessToRGB(sector.hue, 1, 1, &r, &g, &b);
        EXPECT_NEAR(r, sector.r, 1e-5f) << sector.hue;
        EXPECT_NEAR(g, sector.g, 1e-5f) << sector.hue;
        EXPECT_NEAR(b, sector.b, 1e-5f) << sector.hue;
        float h, s, v;
        toolkit::rgbToHueSaturationBrightness(sector.r, sector.g, sector.b, &h, &s, &v);
        EXPECT_NEAR(h, sector.hue, 1e-3f);
        EXPECT_NEAR(s, 1, 1e-5f);
        EXPECT_NEAR(v, 1, 1e-5f);
    }
}

TEST(ColorToolkit, MonochromeColoursReadAsGrey)
{
    Ref<UIColor> grey = UIColor::colorWithWhite(0.4f, 0.5f);
    EXPECT_EQ(toolkit::colorSpaceString(grey), "kCGColorSpaceModelMonochrome");
    EXPECT_FLOAT_EQ(toolkit::red(grey), 0.4f);
    EXPECT_FLOAT_EQ(toolkit::green(grey), 0.4f);
    EXPECT_FLOAT_EQ(toolkit::blue(grey), 0.4f);
    EXPECT_FLOAT_EQ(toolkit::white(grey), 0.4f);
    EXPECT_EQ(toolkit::hue(grey), 0);
    EXPECT_EQ(toolkit::saturation(grey), 0);
    EXPECT_EQ(toolkit::stringFromColor(grey), "{0.400, 0.500}");
    EXPECT_EQ(toolkit::arrayFromRGBAComponents(grey), (std::array<float, 4> { 0.4f, 0.4f, 0.4f, 0.5f }));
}

TEST(ColorToolkit, ColoursWithoutRGBFailTheirPreconditions)
{
    Ref<UIColor> cmyk = cmykColor();
    EXPECT_EQ(toolkit::colorSpaceString(cmyk), "kCGColorSpaceModelCMYK");
    EXPECT_EQ(toolkit::colorSpaceStringForModel(42), "Not a valid color space");
    EXPECT_FALSE(toolkit::canProvideRGBComponents(cmyk));
    float untouched = 7;
    EXPECT_FALSE(toolkit::red(cmyk, &untouched, nullptr, nullptr, &untouched));
    EXPECT_FALSE(toolkit::hue(cmyk, &untouched, nullptr, nullptr, nullptr));
    EXPECT_EQ(untouched, 7);
    EXPECT_FALSE(toolkit::complementaryColor(cmyk));
    EXPECT_FALSE(toolkit::triadicColors(cmyk));
    EXPECT_FLOAT_EQ(toolkit::alpha(cmyk), 1);

    EXPECT_EQ(failureMessage([&] { toolkit::red(cmyk); }), "Must be an RGB color to use -red");
    EXPECT_EQ(failureMessage([&] { toolkit::blue(cmyk); }), "Must be an RGB color to use -blue");
    EXPECT_EQ(failureMessage([&] { toolkit::hue(cmyk); }), "Must be an RGB color to use -hue");
    EXPECT_EQ(failureMessage([&] { toolkit::brightness(cmyk); }), "Must be an RGB color to use -brightness");
    EXPECT_EQ(failureMessage([&] { toolkit::luminance(cmyk); }), "Must be a RGB color to use luminance");
    EXPECT_EQ(failureMessage([&] { toolkit::hexStringFromColor(cmyk); }), "Must be a RGB color to use rgbHex");
    EXPECT_EQ(failureMessage([&] { toolkit::stringFromColor(cmyk); }), "Must be an RGB color to use -stringFromColor");
    EXPECT_EQ(failureMessage([&] { toolkit::closestCrayonName(cmyk); }), "Must be a RGB color to use closestColorName");
    EXPECT_EQ(failureMessage([&] { toolkit::colorByDarkeningTo(cmyk, 0.5f); }), "Must be a RGB color to use arithmetic operations");
    EXPECT_EQ(failureMessage([&] { toolkit::colorByAddingColor(cmyk, UIColor::redColor()); }),
        "Must be a RGB color to use arithmetic operations");
    EXPECT_EQ(failureMessage([&] { toolkit::white(UIColor::redColor()); }), "Must be a Monochrome color to use -white");
    // The other colour of an arithmetic operation is not a precondition: it just gives nil.
    EXPECT_FALSE(toolkit::colorByMultiplyingByColor(UIColor::redColor(), cmyk));
}

TEST(ColorToolkit, ArithmeticClampsWhereItShould)
{
    Ref<UIColor> color = UIColor::colorWithRed(0.6f, 0.2f, 0.1f, 0.5f);
    EXPECT_EQ(toolkit::stringFromColor(*toolkit::colorByMultiplyingBy(color, 2)), "{1.000, 0.400, 0.200, 0.500}");
    EXPECT_EQ(toolkit::stringFromColor(*toolkit::colorByAdding(color, 0.5f)), "{1.000, 0.700, 0.600, 0.500}");
    EXPECT_EQ(toolkit::stringFromColor(*toolkit::colorByLighteningTo(color, 0.3f)), "{0.600, 0.300, 0.300, 0.500}");
    EXPECT_EQ(toolkit::stringFromColor(*toolkit::colorByDarkeningTo(color, 0.3f)), "{0.300, 0.200, 0.100, 0.500}");
    Ref<UIColor> grey = UIColor::colorWithWhite(0.5f, 1);
    EXPECT_EQ(toolkit::stringFromColor(*toolkit::colorByMultiplyingByColor(color, grey)), "{0.300, 0.100, 0.050, 0.500}");
    EXPECT_EQ(toolkit::stringFromColor(*toolkit::colorByAddingColor(color, grey)), "{1.000, 0.700, 0.600, 0.500}");
    EXPECT_EQ(toolkit::stringFromColor(*toolkit::colorByLighteningToColor(color, grey)), "{0.600, 0.500, 0.500, 0.500}");
    EXPECT_EQ(toolkit::stringFromColor(*toolkit::colorByDarkeningToColor(color, grey)), "{0.500, 0.200, 0.100, 0.500}");
    EXPECT_EQ(toolkit::stringFromColor(toolkit::colorByLuminanceMapping(UIColor::colorWithRed(0, 1, 0, 1))), "{0.715, 1.000}");
}

TEST(ColorToolkit, HarmoniesTurnTheHue)
{
    EXPECT_TRUE(toolkit::contrastingColor(UIColor::colorWithRed(0, 1, 0, 1))->isEqual(UIColor::blackColor().ptr()));
    EXPECT_TRUE(toolkit::contrastingColor(UIColor::colorWithRed(0, 0, 1, 1))->isEqual(UIColor::whiteColor().ptr()));

    float r, g, b;
    toolkit::hueSaturationBrightnessToRGB(200, 0.8f, 0.6f, &r, &g, &b);
    Ref<UIColor> hue200 = UIColor::colorWithRed(r, g, b, 0.5f);
    Ref<UIColor> complement = *toolkit::complementaryColor(hue200);
    EXPECT_NEAR(toolkit::hue(complement), 20, 1e-3);
    EXPECT_NEAR(toolkit::saturation(complement), 0.8f, 1e-5);
    EXPECT_FLOAT_EQ(toolkit::alpha(complement), 0.5f);
    // Hue 180 turns to 360, which is red again rather than black.
    EXPECT_EQ(toolkit::rgbHex(*toolkit::complementaryColor(UIColor::colorWithRed(0, 1, 1, 1))), 0xFF0000u);

    toolkit::hueSaturationBrightnessToRGB(30, 1, 1, &r, &g, &b);
    auto triad = *toolkit::triadicColors(UIColor::colorWithRed(r, g, b, 1));
    ASSERT_EQ(triad.size(), 2u);
    EXPECT_NEAR(toolkit::hue(triad[0]), 150, 1e-3);
    EXPECT_NEAR(toolkit::hue(triad[1]), 270, 1e-3);
    auto analogous = *toolkit::analogousColorsWithStepAngle(UIColor::redColor(), -30, 2);
    ASSERT_EQ(analogous.size(), 4u);
    EXPECT_NEAR(toolkit::hue(analogous[0]), 30, 1e-3);
    EXPECT_NEAR(toolkit::hue(analogous[1]), 330, 1e-3);
    EXPECT_NEAR(toolkit::hue(analogous[3]), 300, 1e-3);
    EXPECT_TRUE(toolkit::analogousColorsWithStepAngle(UIColor::redColor(), 30, 0)->empty());
}

TEST(ColorToolkit, TextFormRoundTripsAndRejectsMalformedText)
{
    Ref<UIColor> color = UIColor::colorWithRed(0.25f, 0.5f, 0.75f, 1);
    EXPECT_TRUE(toolkit::colorWithString(*toolkit::stringFromColor(color))->isEqual(color.ptr()));
    EXPECT_TRUE(toolkit::colorWithString(" { 0.5 ,1.0 } ")->isEqual(UIColor::colorWithWhite(0.5f, 1).ptr()));
    EXPECT_EQ(toolkit::rgbHex(*toolkit::colorWithString("{1, 0, 0, 1}")), 0xFF0000u);
    for (const char* malformed : { "{1, 2, 3}", "{1, 2} more", "{1, 2, 3, 4, 5}", "1, 2}", "{1; 2}", "{1, }", "{0.5" })
        EXPECT_FALSE(toolkit::colorWithString(malformed)) << malformed;
}

TEST(ColorToolkit, NameTablesHoldTheirEntriesInOrder)
{
    auto colours = entriesOf(toolkit::colorNameDB());
    auto crayons = entriesOf(toolkit::crayolaNameDB());
    ASSERT_EQ(colours.size(), 147u);
    ASSERT_EQ(crayons.size(), 134u);
    EXPECT_TRUE(std::is_sorted(colours.begin(), colours.end()));
    EXPECT_TRUE(std::is_sorted(crayons.begin(), crayons.end()));
    EXPECT_EQ(colours.front(), std::make_pair(std::string("aliceblue"), std::string("f0f8ff")));
    EXPECT_EQ(colours.back(), std::make_pair(std::string("yellowgreen"), std::string("9acd32")));
    EXPECT_EQ(crayons.front(), std::make_pair(std::string("Almond"), std::string("EED9C4")));
    EXPECT_EQ(crayons.back(), std::make_pair(std::string("Yellow Orange"), std::string("FFAE42")));
    for (auto& [name, hex] : colours)
        EXPECT_TRUE(hex.size() == 6 && std::none_of(hex.begin(), hex.end(), ::isupper)) << name;
    for (auto& [name, hex] : crayons)
        EXPECT_TRUE(hex.size() == 6 && std::isupper(name[0]) && std::none_of(hex.begin(), hex.end(), ::islower)) << name;

    // Every entry made it into its cache, whatever characters its name holds.
    EXPECT_EQ(toolkit::namedColors().size(), 147u);
    EXPECT_EQ(toolkit::namedCrayons().size(), 134u);
    EXPECT_EQ(toolkit::rgbHex(*toolkit::crayonWithName("Purple Mountain's Majesty")), 0x9678B6u);
    EXPECT_EQ(toolkit::rgbHex(*toolkit::crayonWithName("Blue")), 0x0066FFu);
    EXPECT_EQ(toolkit::rgbHex(*toolkit::crayonWithName("Mahogany")), 0xCA3435u);
    EXPECT_EQ(toolkit::rgbHex(*toolkit::colorWithName("darkslategrey")), 0x2F4F4Fu);
    EXPECT_FLOAT_EQ(toolkit::alpha(*toolkit::colorWithName("navy")), 1);
    EXPECT_FALSE(toolkit::colorWithName("Blue"));
    EXPECT_FALSE(toolkit::crayonWithName("blue"));
}

TEST(ColorToolkit, NearestNamesPreferTheEarliestExactMatch)
{
    EXPECT_EQ(toolkit::closestColorName(toolkit::colorWithRGBHex(0xF0F8FF)), "aliceblue");
    EXPECT_EQ(toolkit::closestColorName(toolkit::colorWithRGBHex(0x00FFFF)), "aqua");
    EXPECT_EQ(toolkit::closestColorName(UIColor::colorWithRed(0, 0, 1, 1)), "blue");
    EXPECT_EQ(toolkit::closestColorName(toolkit::colorWithRGBHex(0xFE0103)), "red");
    EXPECT_EQ(toolkit::closestCrayonName(UIColor::blackColor()), "Black");
    EXPECT_EQ(toolkit::closestCrayonName(toolkit::colorWithRGBHex(0xC93535)), "Mahogany");
    // An entry whose digits run out is passed over, and the name is everything after its comma.
    EXPECT_EQ(toolkit::closestColorNameFor(toolkit::colorWithRGBHex(0x102030), ",short#1020,far off#FFFFFF,near#112233"), "near");
}

TEST(ColorToolkit, CachesAreBuiltOnceEvenWhenFirstAskedFromManyThreads)
{
    std::vector<const toolkit::NamedColorDictionary*> seen(4);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = &toolkit::namedCrayons(); });
    for (auto& thread : threads)
        thread.join();
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [&](auto* cache) { return cache == seen[0]; }));
    EXPECT_EQ(failureMessage([] { toolkit::populateCrayolaNameCache(); }),
        "+pouplateCrayolaNameCache was called when crayolaNameCache was not nil");
    toolkit::namedColors();
    EXPECT_EQ(failureMessage([] { toolkit::populateColorNameCache(); }),
        "+pouplateColorNameCache was called when colorNameCache was not nil");
}
