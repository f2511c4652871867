#include <graphics/ContextState.h>

#include <cmath>

namespace graphics {

namespace {

double strokeWidth(cairo_t* cr, CGFloat lineWidth, CGFloat scale)
{
    if (lineWidth > 0)
        return lineWidth;
    // Width 0 is a hairline: one device pixel, whatever the transformation.
    double dx = 1.0 / scale, dy = 0;
    cairo_device_to_user_distance(cr, &dx, &dy);
    return std::hypot(dx, dy);
}

void drawCurrentPath(const CGContext& c, CGPathDrawingMode mode)
{
    if (!c)
        return;
    CGContext::State& state = *c.state();
    bool fill = mode != kCGPathStroke;
    bool stroke = mode == kCGPathStroke || mode == kCGPathFillStroke || mode == kCGPathEOFillStroke;
    bool evenOdd = mode == kCGPathEOFill || mode == kCGPathEOFillStroke;
    state.draw([&](cairo_t* cr) {
        if (fill) {
            cairo_set_fill_rule(cr, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
            state.setSource(state.withAlpha(state.gstate().fill));
            if (stroke)
                cairo_fill_preserve(cr);
            else
                cairo_fill(cr);
        }
        if (stroke) {
            cairo_set_line_width(cr, strokeWidth(cr, state.gstate().lineWidth, state.scale()));
            state.setSource(state.withAlpha(state.gstate().stroke));
            cairo_stroke(cr);
        }
    });
    // Drawing consumes the path even when nothing could be drawn.
    cairo_new_path(c.cairo());
}

void replacePathWithRect(const CGContext& c, CGRect rect)
{
    cairo_new_path(c.cairo());
    CGContextAddRect(c, rect);
}

void replacePathWithEllipse(const CGContext& c, CGRect rect)
{
    cairo_new_path(c.cairo());
    CGContextAddEllipseInRect(c, rect);
}

} // namespace

void CGContextFillPath(const CGContext& c) { drawCurrentPath(c, kCGPathFill); }
void CGContextEOFillPath(const CGContext& c) { drawCurrentPath(c, kCGPathEOFill); }
void CGContextStrokePath(const CGContext& c) { drawCurrentPath(c, kCGPathStroke); }

void CGContextDrawPath(const CGContext& c, CGPathDrawingMode mode)
{
    if (mode < kCGPathFill || mode > kCGPathEOFillStroke)
        return;
    drawCurrentPath(c, mode);
}

void CGContextFillRect(const CGContext& c, CGRect rect)
{
    if (!c)
        return;
    replacePathWithRect(c, rect);
    drawCurrentPath(c, kCGPathFill);
}

void CGContextStrokeRect(const CGContext& c, CGRect rect)
{
    if (!c)
        return;
    replacePathWithRect(c, rect);
    drawCurrentPath(c, kCGPathStroke);
}

void CGContextFillEllipseInRect(const CGContext& c, CGRect rect)
{
    if (!c)
        return;
    replacePathWithEllipse(c, rect);
    drawCurrentPath(c, kCGPathFill);
}

void CGContextStrokeEllipseInRect(const CGContext& c, CGRect rect)
{
    if (!c)
        return;
    replacePathWithEllipse(c, rect);
    drawCurrentPath(c, kCGPathStroke);
}

void CGContextClearRect(const CGContext& c, CGRect rect)
{
    if (!c || c.state()->gstate().degenerate)
        return;
    cairo_t* cr = c.cairo();
    cairo_path_t* kept = cairo_copy_path(cr);
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_append_path(cr, kept);
    cairo_path_destroy(kept);
}

// --- Gradients ------------------------------------------------------------------------------------

namespace {

void addStop(cairo_pattern_t* pattern, double location, const ColorRGBA& color, double alpha)
{
    cairo_pattern_add_color_stop_rgba(pattern, location, color.red, color.green, color.blue, color.alpha * alpha);
}

// Paints the gradient over the clip. Cairo can only extend both ends (PAD) or neither (NONE), so a
// one-sided extension is a second paint of a pattern that is the end colour beyond that end and
// clear everywhere else: a pair of stops at the same location makes the step sharp.
void paintGradient(const CGContext& c, const CGGradient& gradient, unsigned options,
    const std::function<cairo_pattern_t*()>& createPattern)
{
    if (!c || !gradient)
        return;
    CGContext::State& state = *c.state();
    const std::vector<GradientStop>& stops = gradient.stops();
    double alpha = state.gstate().alpha;
    bool before = options & kCGGradientDrawsBeforeStartLocation;
    bool after = options & kCGGradientDrawsAfterEndLocation;
    state.draw([&](cairo_t* cr) {
        cairo_pattern_t* main = createPattern();
        for (const GradientStop& stop : stops)
            addStop(main, stop.location, stop.color, alpha);
        cairo_pattern_set_extend(main, before && after ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
        cairo_set_source(cr, main);
        cairo_paint(cr);
        cairo_pattern_destroy(main);
        if (before == after)
            return;
        cairo_pattern_t* extension = createPattern();
        ColorRGBA clear {};
        if (before) {
            addStop(extension, 0, stops.front().color, alpha);
            addStop(extension, 0, clear, alpha);
            addStop(extension, 1, clear, alpha);
        } else {
            addStop(extension, 0, clear, alpha);
            addStop(extension, 1, clear, alpha);
            addStop(extension, 1, stops.back().color, alpha);
        }
        cairo_pattern_set_extend(extension, CAIRO_EXTEND_PAD);
        cairo_set_source(cr, extension);
        cairo_paint(cr);
        cairo_pattern_destroy(extension);
    });
}

} // namespace

void CGContextDrawLinearGradient(const CGContext& c, const CGGradient& gradient, CGPoint start, CGPoint end,
    unsigned options)
{
    if (start == end)
        return;
    paintGradient(c, gradient, options, [&] { return cairo_pattern_create_linear(start.x, start.y, end.x, end.y); });
}

void CGContextDrawRadialGradient(const CGContext& c, const CGGradient& gradient, CGPoint startCenter,
    CGFloat startRadius, CGPoint endCenter, CGFloat endRadius, unsigned options)
{
    if (startRadius < 0 || endRadius < 0 || (startCenter == endCenter && startRadius == endRadius))
        return;
    paintGradient(c, gradient, options, [&] {
        return cairo_pattern_create_radial(startCenter.x, startCenter.y, startRadius, endCenter.x, endCenter.y,
            endRadius);
    });
}

// --- Images ---------------------------------------------------------------------------------------

void CGContextDrawImage(const CGContext& c, CGRect rect, const CGImage& image)
{
    if (!c || !image || CGRectIsEmpty(rect))
        return;
    CGRect r = CGRectStandardize(rect);
    CGContext::State& state = *c.state();
    double alpha = state.gstate().alpha;
    state.drawKeepingPath([&](cairo_t* cr) {
        cairo_save(cr);
        cairo_translate(cr, r.origin.x, r.origin.y);
        cairo_scale(cr, r.size.width / image.width(), r.size.height / image.height());
        cairo_rectangle(cr, 0, 0, image.width(), image.height());
        cairo_clip(cr);
        cairo_set_source_surface(cr, image.surface(), 0, 0);
        // Padding keeps scaled edges crisp instead of fading them into the transparent outside.
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        cairo_paint_with_alpha(cr, alpha);
        cairo_restore(cr);
    });
}

void drawImageAtPoint(const CGContext& c, CGPoint point, const CGImage& image, CGFloat scale)
{
    if (!(scale > 0))
        return;
    CGContextDrawImage(c, CGRectMake(point.x, point.y, image.width() / scale, image.height() / scale), image);
}

} // namespace graphics
