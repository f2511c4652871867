#include <graphics/ContextState.h>
#include <graphics/Shadow.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace graphics {

// --- State ----------------------------------------------------------------------------------------

CGContext::State::State(cairo_t* cr, cairo_surface_t* bitmap)
    : m_cr(cr)
    , m_bitmap(bitmap)
{
}

CGContext::State::~State()
{
    // A borrowed Cairo context goes back to its owner with the saves we made undone.
    for (std::size_t i = 0; i < m_saved.size(); ++i)
        cairo_restore(m_cr);
    cairo_destroy(m_cr);
    if (m_bitmap)
        cairo_surface_destroy(m_bitmap);
}

CGFloat CGContext::State::scale() const
{
    double sx = 1, sy = 1;
    cairo_surface_get_device_scale(cairo_get_group_target(m_cr), &sx, &sy);
    return static_cast<CGFloat>(sx);
}

void CGContext::State::save()
{
    cairo_save(m_cr);
    m_saved.push_back(m_gstate);
}

void CGContext::State::restore()
{
    // Cairo puts a context into a permanent error state on an unbalanced restore; CoreGraphics only
    // complains. Ignore it, so one stray restore does not blank everything drawn afterwards.
    if (m_saved.empty())
        return;
    cairo_restore(m_cr);
    m_gstate = m_saved.back();
    m_saved.pop_back();
}

void CGContext::State::setSource(const ColorRGBA& color) const
{
    cairo_set_source_rgba(m_cr, color.red, color.green, color.blue, color.alpha);
}

void CGContext::State::draw(const std::function<void(cairo_t*)>& operation)
{
    if (m_gstate.degenerate)
        return;
    ++m_operations;
    if (!m_gstate.shadowOn) {
        operation(m_cr);
        return;
    }
    paintWithShadow(m_cr, { m_gstate.shadowOffset, m_gstate.shadowBlur, m_gstate.shadowColor }, operation);
}

void CGContext::State::drawKeepingPath(const std::function<void(cairo_t*)>& operation)
{
    cairo_path_t* kept = cairo_copy_path(m_cr);
    cairo_new_path(m_cr);
    draw(operation);
    cairo_new_path(m_cr);
    cairo_append_path(m_cr, kept);
    cairo_path_destroy(kept);
}

// --- Handle ---------------------------------------------------------------------------------------

cairo_t* CGContext::cairo() const { return m_state ? m_state->cr() : nullptr; }
CGFloat CGContext::scale() const { return m_state ? m_state->scale() : 1; }
uint64_t CGContext::operationCount() const { return m_state ? m_state->operationCount() : 0; }

ColorRGBA CGContext::effectiveFillColor() const
{
    return m_state ? m_state->withAlpha(m_state->gstate().fill) : ColorRGBA {};
}

ColorRGBA CGContext::effectiveStrokeColor() const
{
    return m_state ? m_state->withAlpha(m_state->gstate().stroke) : ColorRGBA {};
}

void CGContext::drawOperation(const std::function<void(cairo_t*)>& draw) const
{
    if (m_state)
        m_state->drawKeepingPath(draw);
}

// --- Creation -------------------------------------------------------------------------------------

CGContext CGBitmapContextCreate(int widthPixels, int heightPixels, CGFloat scale)
{
    if (widthPixels <= 0 || heightPixels <= 0 || !(scale > 0) || !std::isfinite(scale))
        return {};
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, widthPixels, heightPixels);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return {};
    }
    cairo_surface_set_device_scale(surface, scale, scale);
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_width(cr, 1);
    return CGContext(std::make_shared<CGContext::State>(cr, surface));
}

CGContext CGContextCreateWithCairo(cairo_t* cr)
{
    if (!cr || cairo_status(cr) != CAIRO_STATUS_SUCCESS)
        return {};
    return CGContext(std::make_shared<CGContext::State>(cairo_reference(cr), nullptr));
}

CGImage CGBitmapContextCreateImage(const CGContext& c)
{
    if (!c || !c.state()->bitmap())
        return {};
    cairo_surface_t* source = c.state()->bitmap();
    cairo_surface_flush(source);
    int width = cairo_image_surface_get_width(source);
    int height = cairo_image_surface_get_height(source);
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(copy);
        return {};
    }
    const unsigned char* from = cairo_image_surface_get_data(source);
    unsigned char* to = cairo_image_surface_get_data(copy);
    int fromStride = cairo_image_surface_get_stride(source);
    int toStride = cairo_image_surface_get_stride(copy);
    for (int y = 0; y < height; ++y)
        std::memcpy(to + static_cast<std::ptrdiff_t>(y) * toStride, from + static_cast<std::ptrdiff_t>(y) * fromStride,
            static_cast<std::size_t>(width) * 4);
    cairo_surface_mark_dirty(copy);
    return CGImage::adoptSurface(copy);
}

std::size_t CGBitmapContextGetWidth(const CGContext& c)
{
    return c && c.state()->bitmap() ? static_cast<std::size_t>(cairo_image_surface_get_width(c.state()->bitmap())) : 0;
}

std::size_t CGBitmapContextGetHeight(const CGContext& c)
{
    return c && c.state()->bitmap() ? static_cast<std::size_t>(cairo_image_surface_get_height(c.state()->bitmap())) : 0;
}

// --- Graphics state -------------------------------------------------------------------------------

void CGContextSaveGState(const CGContext& c)
{
    if (c)
        c.state()->save();
}

void CGContextRestoreGState(const CGContext& c)
{
    if (c)
        c.state()->restore();
}

void CGContextSetAlpha(const CGContext& c, CGFloat alpha)
{
    if (c)
        c.state()->gstate().alpha = std::isnan(alpha) ? 0 : std::clamp<CGFloat>(alpha, 0, 1);
}

void CGContextSetShouldAntialias(const CGContext& c, bool shouldAntialias)
{
    if (c)
        cairo_set_antialias(c.cairo(), shouldAntialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void CGContextSetLineWidth(const CGContext& c, CGFloat width)
{
    if (c && width >= 0 && std::isfinite(width))
        c.state()->gstate().lineWidth = width;
}

void CGContextSetFillColorWithColor(const CGContext& c, const CGColor& color)
{
    if (c)
        c.state()->gstate().fill = color.rgba();
}

void CGContextSetStrokeColorWithColor(const CGContext& c, const CGColor& color)
{
    if (c)
        c.state()->gstate().stroke = color.rgba();
}

void CGContextSetRGBFillColor(const CGContext& c, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    CGContextSetFillColorWithColor(c, CGColorCreateRGB(red, green, blue, alpha));
}

void CGContextSetRGBStrokeColor(const CGContext& c, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    CGContextSetStrokeColorWithColor(c, CGColorCreateRGB(red, green, blue, alpha));
}

void CGContextSetGrayFillColor(const CGContext& c, CGFloat white, CGFloat alpha)
{
    CGContextSetFillColorWithColor(c, CGColorCreateGray(white, alpha));
}

void CGContextSetGrayStrokeColor(const CGContext& c, CGFloat white, CGFloat alpha)
{
    CGContextSetStrokeColorWithColor(c, CGColorCreateGray(white, alpha));
}

void CGContextSetShadowWithColor(const CGContext& c, CGSize offset, CGFloat blur, const CGColor& color)
{
    if (!c)
        return;
    GraphicsState& state = c.state()->gstate();
    ColorRGBA rgba = color.rgba();
    bool usable = std::isfinite(offset.width) && std::isfinite(offset.height) && std::isfinite(blur);
    state.shadowOn = usable && rgba.alpha > 0;
    state.shadowOffset = offset;
    state.shadowBlur = blur > 0 ? blur : 0;
    state.shadowColor = rgba;
}

void CGContextSetShadow(const CGContext& c, CGSize offset, CGFloat blur)
{
    CGContextSetShadowWithColor(c, offset, blur, CGColorCreateGray(0, 1.0f / 3));
}

void CGContextTranslateCTM(const CGContext& c, CGFloat tx, CGFloat ty)
{
    if (!c || c.state()->gstate().degenerate)
        return;
    if (!std::isfinite(tx) || !std::isfinite(ty)) {
        c.state()->gstate().degenerate = true;
        return;
    }
    cairo_translate(c.cairo(), tx, ty);
}

void CGContextScaleCTM(const CGContext& c, CGFloat sx, CGFloat sy)
{
    if (!c || c.state()->gstate().degenerate)
        return;
    // Cairo refuses a matrix it cannot invert by failing the whole context for good; CoreGraphics
    // just draws nothing through it.
    if (sx == 0 || sy == 0 || !std::isfinite(sx) || !std::isfinite(sy)) {
        c.state()->gstate().degenerate = true;
        return;
    }
    cairo_scale(c.cairo(), sx, sy);
}

} // namespace graphics
