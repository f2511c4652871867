#pragma once

// A layer: a rectangle with a background, a border, rounded corners and optional drawn content,
// holding an ordered list of sublayers (the last one is on top). Views are backed by layers; layers
// can also stand alone (a button's face and gloss).
//
// Geometry: a layer has a frame in its superlayer's coordinates and a bounds whose origin shifts
// its content (like a scroll offset); the anchor point is always the centre, so `position` is the
// frame's mid point. There are no transforms.
//
// Model and presentation: setters change the model value at once. A layer that is not backed by a
// view animates changes of frame, bounds, position, opacity and background colour implicitly, with
// the duration of the current transaction (0.25 s by default) unless the transaction disables
// actions (see CATransaction). Explicit animations (CABasicAnimation) are added with
// addAnimation(). Rendering and the presentation*() getters show the animated values at the main
// run loop's current time; the model getters never do.

#include <graphics/Color.h>
#include <graphics/Geometry.h>
#include <quartzcore/AnimationValue.h>
#include <quartzcore/Forward.h>
#include <runtime/Object.h>
#include <runtime/WeakPtr.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace graphics {
class CGContext;
}

namespace quartzcore {

using graphics::CGColor;
using graphics::CGFloat;
using graphics::CGPoint;
using graphics::CGRect;
using graphics::CGSize;

// What a layer asks of the view that it backs. Every method has a neutral default.
class CALayerDelegate {
public:
    virtual ~CALayerDelegate() = default;
    // Draws the layer's content in its bounds' coordinates; the context is clipped to the bounds.
    virtual void drawLayerInContext(CALayer&, const graphics::CGContext&) { }
    // The layer's size changed (through its frame or bounds): the view lays itself out again.
    virtual void layerDidChangeSize(CALayer&, CGSize /*oldSize*/) { }
    // Whether property changes of this layer may animate implicitly. Views answer no, as UIKit's
    // views do outside their own animation blocks.
    virtual bool layerAllowsImplicitAnimations(const CALayer&) const { return true; }
    // How the layer treats the content drawn for it (see CALayer's content).
    enum class ContentDrawing {
        // Drawn apart, kept and reused until it is stale.
        Kept,
        // Drawn straight onto what lies below at every render, with nothing kept: for a delegate
        // whose drawing only paints over (never clears or copies) and is a copy of something it
        // holds already, such as an image shown pixel for pixel.
        PaintedOverEachRender,
    };
    // `scale`: the target's pixels per point.
    virtual ContentDrawing layerContentDrawing(const CALayer&, CGFloat /*scale*/) const { return ContentDrawing::Kept; }
};

class CALayer : public runtime::Object {
    TORVANE_OBJECT(CALayer, runtime::Object)
public:
    static runtime::Ref<CALayer> create();
    ~CALayer() override;

    // Geometry (model values).
    CGRect frame() const { return m_frame; }
    void setFrame(CGRect frame);
    CGRect bounds() const { return { m_boundsOrigin, m_frame.size }; }
    void setBounds(CGRect bounds);
    CGPoint position() const;
    void setPosition(CGPoint position);

    // Looks.
    const CGColor& backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(CGColor color);
    const CGColor& borderColor() const { return m_borderColor; }
    void setBorderColor(CGColor color)
    {
        m_borderColor = std::move(color);
        noteDisplayChange();
    }
    CGFloat borderWidth() const { return m_borderWidth; }
    void setBorderWidth(CGFloat width) { changeLook(m_borderWidth, width); }
    CGFloat cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(CGFloat radius) { changeLook(m_cornerRadius, radius); }
    bool masksToBounds() const { return m_masksToBounds; }
    void setMasksToBounds(bool masks) { changeLook(m_masksToBounds, masks); }
    float opacity() const { return m_opacity; }
    void setOpacity(float opacity);
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden) { changeLook(m_hidden, hidden); }
    bool isOpaque() const { return m_opaque; }
    void setOpaque(bool opaque) { m_opaque = opaque; }
    const std::string& name() const { return m_name; }
    void setName(std::string name) { m_name = std::move(name); }

    // Content. The layer draws its content (drawInContext) when it is rendered and keeps the picture,
    // as a backing store, until setNeedsDisplay marks it stale or it is rendered at another size,
    // scale or bounds origin; a size change also marks it stale when needsDisplayOnBoundsChange is
    // set. Whatever a drawing depends on must therefore call setNeedsDisplay when it changes. A
    // content that drew nothing costs nothing to render until it is stale. Where the picture could
    // not be laid exactly on the target's pixels (a rotated, scaled or half-pixel position), and
    // for delegates that keep no drawn content, the content is drawn afresh at every render.
    bool needsDisplayOnBoundsChange() const { return m_needsDisplayOnBoundsChange; }
    void setNeedsDisplayOnBoundsChange(bool value) { m_needsDisplayOnBoundsChange = value; }
    void setNeedsDisplay()
    {
        m_needsDisplay = true;
        noteDisplayChange();
    }
    bool needsDisplay() const { return m_needsDisplay; }
    // Draws the content in bounds coordinates. The default asks the delegate.
    virtual void drawInContext(const graphics::CGContext& context);

    CALayerDelegate* delegate() const { return m_delegate; }
    // Not owned: the view that owns this layer sets itself and clears itself before it goes.
    void setDelegate(CALayerDelegate* delegate) { m_delegate = delegate; }

    // Tree. A layer has at most one superlayer; adding it elsewhere moves it.
    CALayer* superlayer() const { return m_superlayer.get(); }
    const std::vector<runtime::Ref<CALayer>>& sublayers() const { return m_sublayers; }
    void addSublayer(runtime::Ref<CALayer> layer);
    // An index past the end appends.
    void insertSublayerAtIndex(runtime::Ref<CALayer> layer, size_t index);
    // When `sibling` is not a sublayer of this layer the layer is appended (below: inserted first).
    void insertSublayerBelow(runtime::Ref<CALayer> layer, const CALayer* sibling);
    void insertSublayerAbove(runtime::Ref<CALayer> layer, const CALayer* sibling);
    void removeFromSuperlayer();
    // Index among the superlayer's sublayers, or -1 without a superlayer.
    long indexInSuperlayer() const;

    // Animations by key. Adding under a key that is in use replaces (and finishes) the old one.
    // The empty key is allowed and never replaces anything.
    void addAnimation(runtime::Ref<CABasicAnimation> animation, const std::string& key);
    CABasicAnimation* animationForKey(const std::string& key) const;
    void removeAnimationForKey(const std::string& key);
    void removeAllAnimations();
    std::vector<std::string> animationKeys() const;

    // The values as shown now: model values with running (or filled-forward) animations applied.
    CGRect presentationFrame() const;
    CGColor presentationBackgroundColor() const;
    float presentationOpacity() const;

    // Renders this layer and its sublayers with its frame's origin at the context's current origin
    // (drawn at presentation values), honouring hidden, opacity as a group, background, corner
    // radius, border (above the sublayers) and masksToBounds.
    void renderInContext(const graphics::CGContext& context);

    // Converts a point between this layer's bounds coordinates and another layer's of the same
    // tree (nullptr: the root's coordinates).
    CGPoint convertPointToLayer(CGPoint point, const CALayer* layer) const;

    // What a picture of the screen would show may have changed since the count was last read:
    // every change of a layer's geometry, looks, content or tree, in any layer of the process,
    // raises the count, so a screen that is drawn only when it changed asks for it cheaply.
    static uint64_t displayChangeCount();
    // Animations between their start and their end, in every layer of the process: while any
    // runs, every moment looks different.
    static size_t animationsInFlight();

protected:
    CALayer();

private:
    struct RunningAnimation;
    struct DrawnContent;

    // Paints the content at the bounds origin: the kept picture, or a fresh drawing.
    void paintContent(const graphics::CGContext& context, CGSize size);
    void drawContentDirectly(const graphics::CGContext& context, CGSize size, bool paintsOnlyOver);

    static void noteDisplayChange();
    template<typename T>
    void changeLook(T& member, T value)
    {
        if (member == value)
            return;
        member = value;
        noteDisplayChange();
    }

    void changeFrame(CGRect newFrame);
    bool implicitAnimationsAllowed() const;
    void addImplicitAnimation(const char* keyPath, AnimationValue from);
    void startAnimation(runtime::Ref<CABasicAnimation> animation, std::string key);
    void animationTimeIsUp(uint64_t serial);
    // Takes the animation out of the list; `finished` tells whether it ran to its end.
    void endAnimation(size_t index, bool finished);
    AnimationValue presentationValue(const std::string& keyPath, AnimationValue model) const;
    CGPoint originInRoot() const;

    CGRect m_frame {};
    CGPoint m_boundsOrigin {};
    CGColor m_backgroundColor;
    CGColor m_borderColor;
    CGFloat m_borderWidth { 0 };
    CGFloat m_cornerRadius { 0 };
    bool m_masksToBounds { false };
    float m_opacity { 1 };
    bool m_hidden { false };
    bool m_opaque { false };
    bool m_needsDisplayOnBoundsChange { false };
    mutable bool m_needsDisplay { true };
    std::string m_name;

    CALayerDelegate* m_delegate { nullptr };
    runtime::WeakPtr<CALayer> m_superlayer;
    std::vector<runtime::Ref<CALayer>> m_sublayers;
    std::vector<std::unique_ptr<RunningAnimation>> m_animations;
    std::unique_ptr<DrawnContent> m_drawnContent;
};

}
