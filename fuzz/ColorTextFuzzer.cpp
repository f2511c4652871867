// The colour toolkit's two text readers, colorWithString ("{r, g, b, a}" or "{white, alpha}")
// and colorWithHexString, then what the confirm button does with a colour it got: components,
// hue, the text and hex forms and the nearest name. A colour read from text always has RGB
// components, and its own text form reads again.
#include <ConfirmButton/UIColor-Toolkit.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace tweak::toolkit;

namespace {

void use(const UIColor& color, std::string_view text)
{
    if (!canProvideRGBComponents(color)) {
        std::fprintf(stderr, "a colour read from \"%.*s\" has no RGB components\n", static_cast<int>(text.size()), text.data());
        std::abort();
    }
    hue(color);
    luminance(color);
    hexStringFromColor(color);
    closestColorName(color);
    colorByLighteningTo(color, 0.5f);
    auto written = stringFromColor(color);
    if (!written || !colorWithString(*written)) {
        std::fprintf(stderr, "the text form of a colour read from \"%.*s\" does not read again\n", static_cast<int>(text.size()), text.data());
        std::abort();
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto color = colorWithString(text))
        use(*color, text);
    if (auto color = colorWithHexString(text))
        use(*color, text);
    return 0;
}
