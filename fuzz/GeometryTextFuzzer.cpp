// CGRectFromString and its point and size siblings on arbitrary text, as theme frames written by
// anyone reach them. What they read must be finite, and the text the platform writes for a value
// must read back as exactly that value.
#include <graphics/GeometryText.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace graphics;

namespace {

void require(bool condition, const char* what, std::string_view text)
{
    if (condition)
        return;
    std::fprintf(stderr, "%s: \"%.*s\"\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

bool finite(CGRect rect)
{
    return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) && std::isfinite(rect.size.width) && std::isfinite(rect.size.height);
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);

    CGRect rect = CGRectFromString(text);
    require(finite(rect), "a rectangle with a value that is not finite", text);
    require(CGRectFromString(CGRectToString(rect)) == rect, "a rectangle changed on a write and read", text);

    CGPoint point = CGPointFromString(text);
    require(std::isfinite(point.x) && std::isfinite(point.y), "a point with a value that is not finite", text);
    require(CGPointFromString(CGPointToString(point)) == point, "a point changed on a write and read", text);

    CGSize sizeValue = CGSizeFromString(text);
    require(std::isfinite(sizeValue.width) && std::isfinite(sizeValue.height), "a size with a value that is not finite", text);
    require(CGSizeFromString(CGSizeToString(sizeValue)) == sizeValue, "a size changed on a write and read", text);
    return 0;
}
