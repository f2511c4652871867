#pragma once

// A rectangle on screen: the base of every visible element. Each view is backed by a CALayer; the
// layer holds the geometry and the looks (frame, bounds, background, alpha, hidden, clipping,
// border, corner radius), so changing one is seen through the other. A view's subviews' layers are
// sublayers of its layer, in the same order, so rendering the layer tree renders the view tree.
//
// Ownership: a view owns its subviews (Ref); superview() is weak. removeFromSuperview releases the
// superview's hold.
//
// Layout: setNeedsLayout marks a view; the layout runs at the start of the next run-loop turn, or
// earlier through layoutIfNeeded (which also runs before rendering and hit testing from a window).
// A size change autoresizes the subviews by their masks and marks the view for layout.
//
// Drawing: drawRect is called whenever the view is rendered, with the current context
// (UIGraphicsGetCurrentContext) set up in the view's bounds coordinates and clipped to its bounds;
// setNeedsDisplay marks the view as stale for callers that track it.
//
// Archiving: views can be copied through NSKeyedArchiver/NSKeyedUnarchiver (see NSKeyedArchiver.h).
// A subclass with state of its own overrides encodeWithCoder/initWithCoder (calling Super first) and
// registers itself with TORVANE_ARCHIVABLE_CLASS.

#include <quartzcore/CALayer.h>
#include <runtime/Ref.h>
#include <runtime/WeakPtr.h>
#include <uikit/NSCoding.h>
#include <uikit/UIGeometry.h>
#include <uikit/UIResponder.h>

#include <vector>

namespace graphics {
class CGContext;
}

namespace uikit {

enum UIViewAutoresizing : unsigned {
    UIViewAutoresizingNone = 0,
    UIViewAutoresizingFlexibleLeftMargin = 1 << 0,
    UIViewAutoresizingFlexibleWidth = 1 << 1,
    UIViewAutoresizingFlexibleRightMargin = 1 << 2,
    UIViewAutoresizingFlexibleTopMargin = 1 << 3,
    UIViewAutoresizingFlexibleHeight = 1 << 4,
    UIViewAutoresizingFlexibleBottomMargin = 1 << 5,
};

class UIView : public UIResponder, public quartzcore::CALayerDelegate, public NSCoding {
    TORVANE_OBJECT(UIView, UIResponder)
public:
    // initWithFrame:
    static runtime::Ref<UIView> create(CGRect frame = CGRectZero);
    ~UIView() override;

    quartzcore::CALayer& layer() const { return m_layer.get(); }

    // Geometry. frame is in the superview's coordinates; bounds in the view's own.
    CGRect frame() const { return m_layer->frame(); }
    virtual void setFrame(CGRect frame);
    CGRect bounds() const { return m_layer->bounds(); }
    virtual void setBounds(CGRect bounds);
    CGPoint center() const { return m_layer->position(); }
    void setCenter(CGPoint center);

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    CGFloat alpha() const { return m_layer->opacity(); }
    void setAlpha(CGFloat alpha);
    bool isHidden() const { return m_layer->isHidden(); }
    virtual void setHidden(bool hidden);
    UIColor* backgroundColor() const { return m_backgroundColor.get(); }
    virtual void setBackgroundColor(runtime::RefPtr<UIColor> color);
    bool isOpaque() const { return m_layer->isOpaque(); }
    void setOpaque(bool opaque) { m_layer->setOpaque(opaque); }
    bool clipsToBounds() const { return m_layer->masksToBounds(); }
    void setClipsToBounds(bool clips) { m_layer->setMasksToBounds(clips); }
    unsigned autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(unsigned mask) { m_autoresizingMask = mask; }
    bool autoresizesSubviews() const { return m_autoresizesSubviews; }
    void setAutoresizesSubviews(bool value) { m_autoresizesSubviews = value; }
    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    virtual void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }
    bool isMultipleTouchEnabled() const { return m_multipleTouchEnabled; }
    void setMultipleTouchEnabled(bool enabled) { m_multipleTouchEnabled = enabled; }

    // Tree.
    UIView* superview() const { return m_superview.get(); }
    const std::vector<runtime::Ref<UIView>>& subviews() const { return m_subviews; }
    // The window at the root of this view's tree, or nullptr.
    virtual UIWindow* window() const;
    // Adding a view that already has a superview moves it. Adding a view to itself or to one of its
    // own descendants is refused (it would make a cycle), as is adding a window.
    void addSubview(runtime::Ref<UIView> view);
    // insertSubview:atIndex:. An index past the end appends.
    void insertSubviewAtIndex(runtime::Ref<UIView> view, size_t index);
    // When `sibling` is not a subview of this view, the view is added on top (below: at the bottom).
    void insertSubviewBelowSubview(runtime::Ref<UIView> view, const UIView* sibling);
    void insertSubviewAboveSubview(runtime::Ref<UIView> view, const UIView* sibling);
    void bringSubviewToFront(UIView& view);
    void sendSubviewToBack(UIView& view);
    void removeFromSuperview();
    bool isDescendantOfView(const UIView* view) const;
    // This view or the first descendant (depth first, subviews in order) with the tag.
    UIView* viewWithTag(int tag) const;

    // Notifications of tree changes, for subclasses.
    virtual void didAddSubview(UIView&) { }
    virtual void willRemoveSubview(UIView&) { }
    virtual void willMoveToSuperview(UIView*) { }
    virtual void didMoveToSuperview() { }
    virtual void willMoveToWindow(UIWindow*) { }
    virtual void didMoveToWindow() { }

    // Layout.
    virtual void layoutSubviews() { }
    void setNeedsLayout();
    bool needsLayout() const { return m_needsLayout; }
    // Lays out this view if marked, then its subviews (top down).
    void layoutIfNeeded();
    virtual CGSize sizeThatFits(CGSize size) const;
    void sizeToFit();

    // Drawing.
    virtual void setNeedsDisplay();
    void setNeedsDisplayInRect(CGRect) { setNeedsDisplay(); }
    bool needsDisplay() const { return m_layer->needsDisplay(); }
    // Draws the view's content in its bounds coordinates; `rect` is the bounds. Does nothing by
    // default (the layer paints the background colour).
    virtual void drawRect(CGRect rect);

    // Hit testing. A hidden view, a view with alpha below 0.01 and a view that does not take user
    // interaction is never hit, nor are its subviews. Points are in this view's coordinates.
    virtual UIView* hitTest(CGPoint point, UIEvent* event);
    virtual bool pointInside(CGPoint point, UIEvent* event) const;

    // Coordinate conversion between this view and another view of any tree; nullptr means the
    // window (the root of this view's tree) for the "to/from view" argument.
    CGPoint convertPointToView(CGPoint point, const UIView* view) const;
    CGPoint convertPointFromView(CGPoint point, const UIView* view) const;
    CGRect convertRectToView(CGRect rect, const UIView* view) const;
    CGRect convertRectFromView(CGRect rect, const UIView* view) const;

    UIResponder* nextResponder() const override;

    // Archiving (NSCoding).
    void encodeWithCoder(NSCoder& coder) const override;
    void initWithCoder(NSCoder& coder) override;

protected:
    explicit UIView(CGRect frame);
    // For subclasses that bring their own layer class.
    UIView(CGRect frame, runtime::Ref<quartzcore::CALayer> layer);

    // CALayerDelegate.
    void drawLayerInContext(quartzcore::CALayer&, const graphics::CGContext&) override;
    void layerDidChangeSize(quartzcore::CALayer&, CGSize oldSize) override;
    bool layerAllowsImplicitAnimations(const quartzcore::CALayer&) const override { return false; }

private:
    void attachSubview(runtime::Ref<UIView> view, size_t index);
    void placeSubviewLayer(size_t index);
    void detachFromSuperview();
    void autoresizeSubviews(CGSize oldSize);
    void autoresize(CGSize oldSuperSize, CGSize newSuperSize);
    void propagateWindowChange(UIWindow* oldWindow, UIWindow* newWindow, bool before);
    // Where this view's bounds origin lies in the coordinates its root's frame is given in.
    CGPoint screenOrigin() const;
    const UIView* root() const;

    runtime::Ref<quartzcore::CALayer> m_layer;
    runtime::WeakPtr<UIView> m_superview;
    std::vector<runtime::Ref<UIView>> m_subviews;
    runtime::RefPtr<UIColor> m_backgroundColor;
    int m_tag { 0 };
    unsigned m_autoresizingMask { UIViewAutoresizingNone };
    bool m_autoresizesSubviews { true };
    bool m_userInteractionEnabled { true };
    bool m_multipleTouchEnabled { false };
    bool m_needsLayout { false };
    bool m_inLayout { false };
};

}
