#include <graphics/Shadow.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace graphics {

namespace {

// Widths of three successive box blurs whose combined variance matches sigma (all odd, so each box
// is centred on its pixel).
std::array<int, 3> boxWidths(double sigma)
{
    constexpr int passes = 3;
    double ideal = std::sqrt(12 * sigma * sigma / passes + 1);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    int upper = lower + 2;
    double idealCount = (12 * sigma * sigma - passes * lower * lower - 4 * passes * lower - 3 * passes) / (-4.0 * lower - 4);
    int lowerCount = static_cast<int>(std::lround(idealCount));
    std::array<int, 3> widths {};
    for (int i = 0; i < passes; ++i)
        widths[i] = i < lowerCount ? lower : upper;
    return widths;
}

// One box blur along a line of `count` values `step` apart, through `scratch`.
void boxBlurLine(float* line, int count, std::ptrdiff_t step, int radius, std::vector<float>& scratch)
{
    scratch.resize(count);
    for (int i = 0; i < count; ++i)
        scratch[i] = line[i * step];
    float width = static_cast<float>(2 * radius + 1);
    float sum = 0;
    for (int i = 0; i <= std::min(radius, count - 1); ++i)
        sum += scratch[i];
    for (int i = 0; i < count; ++i) {
        line[i * step] = sum / width;
        int entering = i + radius + 1;
        int leaving = i - radius;
        if (entering < count)
            sum += scratch[entering];
        if (leaving >= 0)
            sum -= scratch[leaving];
    }
}

void blurPlane(std::vector<float>& plane, int width, int height, double sigmaX, double sigmaY)
{
    std::vector<float> scratch;
    if (sigmaX >= 0.5) {
        for (int pass : boxWidths(sigmaX))
            for (int y = 0; y < height; ++y)
                boxBlurLine(plane.data() + static_cast<std::ptrdiff_t>(y) * width, width, 1, (pass - 1) / 2, scratch);
    }
    if (sigmaY >= 0.5) {
        for (int pass : boxWidths(sigmaY))
            for (int x = 0; x < width; ++x)
                boxBlurLine(plane.data() + x, height, width, (pass - 1) / 2, scratch);
    }
}

} // namespace

void blurAlpha(std::uint8_t* data, int width, int height, int stride, double sigmaX, double sigmaY)
{
    if (width <= 0 || height <= 0 || (sigmaX < 0.5 && sigmaY < 0.5))
        return;
    std::vector<float> plane(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            plane[static_cast<std::size_t>(y) * width + x] = data[static_cast<std::ptrdiff_t>(y) * stride + x];
    blurPlane(plane, width, height, sigmaX, sigmaY);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float value = plane[static_cast<std::size_t>(y) * width + x];
            data[static_cast<std::ptrdiff_t>(y) * stride + x] = static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
        }
}

void paintWithShadow(cairo_t* cr, const ShadowStyle& shadow, const std::function<void(cairo_t*)>& operation)
{
    // The visible area in Cairo's device space (points, before the target's pixel scale).
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    if (x2 <= x1 || y2 <= y1)
        return;
    double corners[4][2] { { x1, y1 }, { x2, y1 }, { x1, y2 }, { x2, y2 } };
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (auto& corner : corners) {
        cairo_user_to_device(cr, &corner[0], &corner[1]);
        minX = std::min(minX, corner[0]);
        maxX = std::max(maxX, corner[0]);
        minY = std::min(minY, corner[1]);
        maxY = std::max(maxY, corner[1]);
    }

    cairo_push_group(cr);
    operation(cr);
    cairo_pattern_t* content = cairo_pop_group(cr);

    double scaleX = 1, scaleY = 1;
    cairo_surface_get_device_scale(cairo_get_group_target(cr), &scaleX, &scaleY);
    double sigma = shadow.blur / 2;
    // The shadow seen inside the clip comes from content up to three deviations further out,
    // displaced by the offset.
    double margin = 3 * sigma + 1;
    int pixelMinX = static_cast<int>(std::floor((minX - shadow.offset.width - margin) * scaleX));
    int pixelMinY = static_cast<int>(std::floor((minY - shadow.offset.height - margin) * scaleY));
    int pixelMaxX = static_cast<int>(std::ceil((maxX - shadow.offset.width + margin) * scaleX));
    int pixelMaxY = static_cast<int>(std::ceil((maxY - shadow.offset.height + margin) * scaleY));

    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, pixelMaxX - pixelMinX, pixelMaxY - pixelMinY);
    if (cairo_surface_status(mask) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_set_device_scale(mask, scaleX, scaleY);
        cairo_surface_set_device_offset(mask, -pixelMinX, -pixelMinY);
        cairo_t* maskContext = cairo_create(mask);
        cairo_matrix_t userToDevice;
        cairo_get_matrix(cr, &userToDevice);
        cairo_set_matrix(maskContext, &userToDevice);
        cairo_set_source(maskContext, content);
        cairo_paint(maskContext);
        cairo_destroy(maskContext);

        cairo_surface_flush(mask);
        blurAlpha(cairo_image_surface_get_data(mask), cairo_image_surface_get_width(mask),
            cairo_image_surface_get_height(mask), cairo_image_surface_get_stride(mask), sigma * scaleX, sigma * scaleY);
        cairo_surface_mark_dirty(mask);

        cairo_save(cr);
        cairo_identity_matrix(cr);
        cairo_set_source_rgba(cr, shadow.color.red, shadow.color.green, shadow.color.blue, shadow.color.alpha);
        cairo_mask_surface(cr, mask, shadow.offset.width, shadow.offset.height);
        cairo_restore(cr);
    }
    cairo_surface_destroy(mask);

    cairo_set_source(cr, content);
    cairo_paint(cr);
    cairo_pattern_destroy(content);
}

} // namespace graphics
