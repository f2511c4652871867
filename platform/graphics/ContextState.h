#pragma once

// Internal to the graphics module: what a CGContext handle refers to.

#include <graphics/Context.h>

#include <cstdint>
#include <vector>

namespace graphics {

// The part of the graphics state that Cairo does not keep for us. Transformation, clip and
// antialiasing live in Cairo's own state and are saved alongside.
struct GraphicsState {
    ColorRGBA fill { 0, 0, 0, 1 };
    ColorRGBA stroke { 0, 0, 0, 1 };
    CGFloat alpha { 1 };
    CGFloat lineWidth { 1 };
    bool shadowOn { false };
    CGSize shadowOffset;
    CGFloat shadowBlur { 0 };
    ColorRGBA shadowColor;
    // Set by a transformation Cairo would refuse; drawing is skipped until a restore clears it.
    bool degenerate { false };
};

class CGContext::State {
public:
    State(cairo_t* cr, cairo_surface_t* bitmap);
    ~State();
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    cairo_t* cr() const { return m_cr; }
    cairo_surface_t* bitmap() const { return m_bitmap; }
    CGFloat scale() const;
    GraphicsState& gstate() { return m_gstate; }

    void save();
    void restore();

    // Shadows and degenerate transformations are handled here so every operation behaves alike.
    void draw(const std::function<void(cairo_t*)>& operation);
    // The same for operations that are not about the current path (images, text): the path is set
    // aside while they run and is there again afterwards.
    void drawKeepingPath(const std::function<void(cairo_t*)>& operation);

    // Drawing operations that reached the target (a degenerate transformation stops them first).
    uint64_t operationCount() const { return m_operations; }

    ColorRGBA withAlpha(ColorRGBA color) const
    {
        color.alpha *= m_gstate.alpha;
        return color;
    }
    void setSource(const ColorRGBA& color) const;

private:
    cairo_t* m_cr;
    // The bitmap of a bitmap context (owned); null when drawing through someone else's Cairo context.
    cairo_surface_t* m_bitmap;
    GraphicsState m_gstate;
    std::vector<GraphicsState> m_saved;
    uint64_t m_operations { 0 };
};

} // namespace graphics
