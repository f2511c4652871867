#include <graphics/ContextState.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace graphics {

namespace {

// A context that can take path elements: not null, and its transformation is usable.
cairo_t* pathTarget(const CGContext& c)
{
    if (!c || c.state()->gstate().degenerate)
        return nullptr;
    return c.cairo();
}

struct Vector {
    double x;
    double y;
};

double length(Vector v) { return std::hypot(v.x, v.y); }

} // namespace

void CGContextBeginPath(const CGContext& c)
{
    if (c)
        cairo_new_path(c.cairo());
}

void CGContextMoveToPoint(const CGContext& c, CGFloat x, CGFloat y)
{
    if (cairo_t* cr = pathTarget(c))
        cairo_move_to(cr, x, y);
}

void CGContextAddLineToPoint(const CGContext& c, CGFloat x, CGFloat y)
{
    cairo_t* cr = pathTarget(c);
    if (cr && cairo_has_current_point(cr))
        cairo_line_to(cr, x, y);
}

void CGContextAddArcToPoint(const CGContext& c, CGFloat x1, CGFloat y1, CGFloat x2, CGFloat y2, CGFloat radius)
{
    cairo_t* cr = pathTarget(c);
    if (!cr || !cairo_has_current_point(cr))
        return;
    double x0, y0;
    cairo_get_current_point(cr, &x0, &y0);

    Vector toStart { x0 - x1, y0 - y1 };
    Vector toEnd { x2 - x1, y2 - y1 };
    double startLength = length(toStart);
    double endLength = length(toEnd);
    // Cross product of the travel directions (P1 - P0) and (P2 - P1): its sign is the turn's side.
    double cross = (-toStart.x) * toEnd.y - (-toStart.y) * toEnd.x;
    if (radius <= 0 || startLength == 0 || endLength == 0 || cross == 0) {
        cairo_line_to(cr, x1, y1);
        return;
    }
    Vector u { toStart.x / startLength, toStart.y / startLength };
    Vector v { toEnd.x / endLength, toEnd.y / endLength };
    double cosTheta = std::clamp(u.x * v.x + u.y * v.y, -1.0, 1.0);
    double theta = std::acos(cosTheta);
    double halfTheta = theta / 2;
    double tangentDistance = radius / std::tan(halfTheta);
    double centreDistance = radius / std::sin(halfTheta);
    Vector bisector { u.x + v.x, u.y + v.y };
    double bisectorLength = length(bisector);
    if (!std::isfinite(tangentDistance) || !std::isfinite(centreDistance) || bisectorLength == 0) {
        cairo_line_to(cr, x1, y1);
        return;
    }
    double t1x = x1 + u.x * tangentDistance, t1y = y1 + u.y * tangentDistance;
    double t2x = x1 + v.x * tangentDistance, t2y = y1 + v.y * tangentDistance;
    double cx = x1 + bisector.x / bisectorLength * centreDistance;
    double cy = y1 + bisector.y / bisectorLength * centreDistance;
    double startAngle = std::atan2(t1y - cy, t1x - cx);
    double endAngle = std::atan2(t2y - cy, t2x - cx);
    // cairo_arc* add the line from the current point to T1 themselves.
    if (cross > 0)
        cairo_arc(cr, cx, cy, radius, startAngle, endAngle);
    else
        cairo_arc_negative(cr, cx, cy, radius, startAngle, endAngle);
}

void CGContextAddArc(const CGContext& c, CGFloat x, CGFloat y, CGFloat radius, CGFloat startAngle,
    CGFloat endAngle, int clockwise)
{
    cairo_t* cr = pathTarget(c);
    if (!cr || !(radius >= 0))
        return;
    if (clockwise)
        cairo_arc_negative(cr, x, y, radius, startAngle, endAngle);
    else
        cairo_arc(cr, x, y, radius, startAngle, endAngle);
}

void CGContextAddRect(const CGContext& c, CGRect rect)
{
    if (cairo_t* cr = pathTarget(c))
        cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
}

void CGContextAddEllipseInRect(const CGContext& c, CGRect rect)
{
    cairo_t* cr = pathTarget(c);
    if (!cr || CGRectIsEmpty(rect))
        return;
    CGRect r = CGRectStandardize(rect);
    cairo_save(cr);
    cairo_translate(cr, CGRectGetMidX(r), CGRectGetMidY(r));
    cairo_scale(cr, r.size.width / 2, r.size.height / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void CGContextClosePath(const CGContext& c)
{
    if (cairo_t* cr = pathTarget(c))
        cairo_close_path(cr);
}

bool CGContextIsPathEmpty(const CGContext& c)
{
    if (!c)
        return true;
    cairo_path_t* path = cairo_copy_path(c.cairo());
    bool empty = path->num_data == 0;
    cairo_path_destroy(path);
    return empty;
}

CGPoint CGContextGetPathCurrentPoint(const CGContext& c)
{
    if (!c || !cairo_has_current_point(c.cairo()))
        return CGPointZero;
    double x, y;
    cairo_get_current_point(c.cairo(), &x, &y);
    return CGPointMake(static_cast<CGFloat>(x), static_cast<CGFloat>(y));
}

// --- Clipping -------------------------------------------------------------------------------------

namespace {

void clipWithRule(const CGContext& c, cairo_fill_rule_t rule)
{
    if (!c)
        return;
    cairo_t* cr = c.cairo();
    cairo_set_fill_rule(cr, rule);
    cairo_clip(cr);
}

} // namespace

void CGContextClip(const CGContext& c) { clipWithRule(c, CAIRO_FILL_RULE_WINDING); }
void CGContextEOClip(const CGContext& c) { clipWithRule(c, CAIRO_FILL_RULE_EVEN_ODD); }

void CGContextClipToRect(const CGContext& c, CGRect rect)
{
    if (!c)
        return;
    cairo_t* cr = c.cairo();
    cairo_path_t* kept = cairo_copy_path(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr);
    cairo_append_path(cr, kept);
    cairo_path_destroy(kept);
}

CGRect CGContextGetClipBoundingBox(const CGContext& c)
{
    if (!c)
        return CGRectZero;
    double x1, y1, x2, y2;
    cairo_clip_extents(c.cairo(), &x1, &y1, &x2, &y2);
    return CGRectMake(static_cast<CGFloat>(x1), static_cast<CGFloat>(y1), static_cast<CGFloat>(x2 - x1),
        static_cast<CGFloat>(y2 - y1));
}

} // namespace graphics
