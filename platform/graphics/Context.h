#pragma once

// Graphics contexts: CoreGraphics drawing on a Cairo context.
//
// Conventions shared by everything here:
// - Coordinates are UIKit's: origin at the top-left, y downwards, units in points. A bitmap context
//   made with a scale of 2 has two pixels per point; there is no flipped base space, so nothing is
//   ever drawn upside down (CGContextDrawImage draws images upright, see there).
// - CGContext is a reference-counted handle; copies refer to the same context. A default-constructed
//   handle is the null context: every function accepts it and does nothing (getters give zero).
// - The current path is not part of the graphics state (save/restore keep it), as in CoreGraphics.
//   Filling, stroking and clipping consume it; the rectangle and ellipse conveniences replace it.
// - The graphics state holds the fill and stroke colours, alpha, line width, shadow, antialiasing,
//   the transformation and the clip. CGContextSaveGState/RestoreGState save and restore all of it;
//   a restore without a matching save is ignored.
// - Context alpha (CGContextSetAlpha) applies to each drawing operation on its own: it multiplies
//   colours, gradient stops and image paint. It is not a group opacity.
// - A transformation that cannot be inverted (a scale by 0, a non-finite value) makes every later
//   drawing operation a no-op until the state is restored; the context itself stays usable.

#include <graphics/Color.h>
#include <graphics/Geometry.h>
#include <graphics/Gradient.h>
#include <graphics/Image.h>

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace graphics {

enum CGPathDrawingMode : int {
    kCGPathFill = 0,
    kCGPathEOFill = 1,
    kCGPathStroke = 2,
    kCGPathFillStroke = 3,
    kCGPathEOFillStroke = 4,
};

enum CGGradientDrawingOptions : unsigned {
    kCGGradientDrawsBeforeStartLocation = 1,
    kCGGradientDrawsAfterEndLocation = 2,
};

class CGContext {
public:
    class State;

    CGContext() = default;

    explicit operator bool() const { return m_state != nullptr; }
    friend bool operator==(const CGContext& a, const CGContext& b) { return a.m_state == b.m_state; }

    // The Cairo context drawn into (null for the null context), for compositing code that needs
    // Cairo directly (groups, layer contents).
    cairo_t* cairo() const;
    // Pixels per point of the target (1 for the null context).
    CGFloat scale() const;
    // How many drawing operations have painted so far: a drawing that leaves it unchanged drew
    // nothing.
    uint64_t operationCount() const;
    // The fill and stroke colours with the context alpha multiplied in, as a drawing operation uses them.
    ColorRGBA effectiveFillColor() const;
    ColorRGBA effectiveStrokeColor() const;

    // Runs custom Cairo drawing as one drawing operation of this context: the current shadow is cast
    // by what `draw` paints, and nothing happens while the transformation is degenerate. The
    // function sets its own source (use effectiveFillColor for text and shapes). The current path is
    // set aside while it runs and is there again afterwards.
    void drawOperation(const std::function<void(cairo_t*)>& draw) const;

    State* state() const { return m_state.get(); }

private:
    friend CGContext CGBitmapContextCreate(int, int, CGFloat);
    friend CGContext CGContextCreateWithCairo(cairo_t*);
    explicit CGContext(std::shared_ptr<State> state)
        : m_state(std::move(state))
    {
    }

    std::shared_ptr<State> m_state;
};

using CGContextRef = CGContext;

// --- Creation -------------------------------------------------------------------------------------

// A transparent ARGB32 bitmap of widthPixels x heightPixels whose user space is in points:
// widthPixels / scale points wide. Null when a size is not positive, the scale is not positive or
// the bitmap cannot be had. New contexts fill and stroke in opaque black with line width 1.
CGContext CGBitmapContextCreate(int widthPixels, int heightPixels, CGFloat scale = 1);
// A copy of the bitmap's pixels as they are now (later drawing does not change it). Null for
// contexts that are not bitmap contexts.
CGImage CGBitmapContextCreateImage(const CGContext& c);
std::size_t CGBitmapContextGetWidth(const CGContext& c);
std::size_t CGBitmapContextGetHeight(const CGContext& c);
// Draws through an existing Cairo context (which it references, not copies). Graphics states still
// saved when the last handle goes are restored, so the Cairo context is handed back balanced.
CGContext CGContextCreateWithCairo(cairo_t* cr);

// --- Graphics state -------------------------------------------------------------------------------

void CGContextSaveGState(const CGContext& c);
void CGContextRestoreGState(const CGContext& c);
void CGContextSetAlpha(const CGContext& c, CGFloat alpha);
void CGContextSetShouldAntialias(const CGContext& c, bool shouldAntialias);
void CGContextSetLineWidth(const CGContext& c, CGFloat width);
void CGContextSetFillColorWithColor(const CGContext& c, const CGColor& color);
void CGContextSetStrokeColorWithColor(const CGContext& c, const CGColor& color);
void CGContextSetRGBFillColor(const CGContext& c, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
void CGContextSetRGBStrokeColor(const CGContext& c, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
void CGContextSetGrayFillColor(const CGContext& c, CGFloat white, CGFloat alpha);
void CGContextSetGrayStrokeColor(const CGContext& c, CGFloat white, CGFloat alpha);

// Shadows are cast by every later drawing operation (not by clearing). The offset is in points in
// the page's own orientation, unaffected by the transformation: a positive height puts the shadow
// below the shape. The blur is like a Gaussian blur with a standard deviation of blur / 2 points.
// The shadow is the blurred coverage of what the operation paints (inside the clip), tinted with the
// colour; a null or clear colour turns shadows off.
void CGContextSetShadowWithColor(const CGContext& c, CGSize offset, CGFloat blur, const CGColor& color);
// The same with black at one third alpha.
void CGContextSetShadow(const CGContext& c, CGSize offset, CGFloat blur);

void CGContextTranslateCTM(const CGContext& c, CGFloat tx, CGFloat ty);
void CGContextScaleCTM(const CGContext& c, CGFloat sx, CGFloat sy);

// --- Paths ----------------------------------------------------------------------------------------

void CGContextBeginPath(const CGContext& c);
void CGContextMoveToPoint(const CGContext& c, CGFloat x, CGFloat y);
// Ignored without a current point.
void CGContextAddLineToPoint(const CGContext& c, CGFloat x, CGFloat y);
// From the current point P0 towards the corner P1 = (x1, y1), then an arc of `radius` tangent to
// P0-P1 and P1-P2 (P2 = (x2, y2)); the current point ends at the second tangent point. When points
// coincide, the three are collinear or the radius is 0, a line to P1 is added instead. Ignored
// without a current point.
void CGContextAddArcToPoint(const CGContext& c, CGFloat x1, CGFloat y1, CGFloat x2, CGFloat y2, CGFloat radius);
// Angles in radians from the x axis towards the y axis. `clockwise` 0 runs with increasing angle,
// which on a y-down page turns clockwise on screen; 1 runs the other way (as CoreGraphics behaves
// under UIKit's flipped coordinates). Joined to the current point by a line if there is one.
void CGContextAddArc(const CGContext& c, CGFloat x, CGFloat y, CGFloat radius, CGFloat startAngle,
    CGFloat endAngle, int clockwise);
void CGContextAddRect(const CGContext& c, CGRect rect);
// A closed ellipse as its own subpath; an empty rectangle adds nothing.
void CGContextAddEllipseInRect(const CGContext& c, CGRect rect);
void CGContextClosePath(const CGContext& c);
bool CGContextIsPathEmpty(const CGContext& c);
// In user space; CGPointZero without a current point.
CGPoint CGContextGetPathCurrentPoint(const CGContext& c);

// --- Drawing --------------------------------------------------------------------------------------

void CGContextFillPath(const CGContext& c);
void CGContextEOFillPath(const CGContext& c);
void CGContextStrokePath(const CGContext& c);
// The fill-and-stroke modes fill and then stroke the same path, casting one shadow.
void CGContextDrawPath(const CGContext& c, CGPathDrawingMode mode);
void CGContextFillRect(const CGContext& c, CGRect rect);
void CGContextStrokeRect(const CGContext& c, CGRect rect);
void CGContextFillEllipseInRect(const CGContext& c, CGRect rect);
void CGContextStrokeEllipseInRect(const CGContext& c, CGRect rect);
// Makes the rectangle (within the clip) fully transparent; ignores alpha and shadow, keeps the path.
void CGContextClearRect(const CGContext& c, CGRect rect);

// --- Clipping -------------------------------------------------------------------------------------

// Intersects the clip with the current path (non-zero winding, or even-odd) and consumes the path.
void CGContextClip(const CGContext& c);
void CGContextEOClip(const CGContext& c);
// Intersects the clip with the rectangle; the current path is kept.
void CGContextClipToRect(const CGContext& c, CGRect rect);
// The clip's bounding box in user space.
CGRect CGContextGetClipBoundingBox(const CGContext& c);

// --- Gradients ------------------------------------------------------------------------------------

// Fills the clip with the gradient along start -> end. Without options nothing is drawn before the
// start or after the end (pixels there stay as they were); kCGGradientDrawsBeforeStartLocation
// extends the first colour beyond the start, kCGGradientDrawsAfterEndLocation the last colour beyond
// the end, each only on its own side. A zero-length axis draws nothing.
void CGContextDrawLinearGradient(const CGContext& c, const CGGradient& gradient, CGPoint start, CGPoint end,
    unsigned options);
// Between the start circle and the end circle, with the same options.
void CGContextDrawRadialGradient(const CGContext& c, const CGGradient& gradient, CGPoint startCenter,
    CGFloat startRadius, CGPoint endCenter, CGFloat endRadius, unsigned options);

// --- Images ---------------------------------------------------------------------------------------

// Scales the image into the rectangle, upright: the image's top row lies at the rectangle's top
// (UIKit's orientation, unlike CoreGraphics' bottom-left convention, since our pages are not flipped).
// A rectangle with a negative size is standardised first; nothing is drawn outside the rectangle.
void CGContextDrawImage(const CGContext& c, CGRect rect, const CGImage& image);
// The image at its natural size, `scale` pixels per point, top-left corner at `point`.
void drawImageAtPoint(const CGContext& c, CGPoint point, const CGImage& image, CGFloat scale = 1);

} // namespace graphics
