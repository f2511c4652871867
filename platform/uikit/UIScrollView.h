#pragma once

// A view that shows part of a larger content and moves over it under a finger.
//
// Content: contentSize is the size of what scrolls, contentOffset the point of the content at the
// view's top left corner (the bounds origin, so subviews are placed in content coordinates). The
// scroll view clips to its bounds. setContentOffset takes any offset, as on the device;
// clampedContentOffset gives the nearest offset that keeps the bounds within the content (never
// negative, never past contentSize - bounds; 0 on an axis where the content is no larger than the
// bounds), and dragging and scrollRectToVisible keep to it.
//
// Touches: the scroll view follows the touches that reach it (its own, and those its content
// passes up the responder chain). A finger that moves no more than dragThreshold points is a tap:
// it goes to the content through tapDidBegin and tapDidEnd. One that moves further starts a drag:
// the tap is cancelled (tapDidCancel), and from then on the content follows the finger, within the
// content, while scrollEnabled is on. With scrolling off a drag still cancels the tap but moves
// nothing. Scrolling has no momentum and no bounce, and animated scrolls show at once.

#include <uikit/UIView.h>

namespace uikit {

class UITouch;

class UIScrollView : public UIView {
    TORVANE_OBJECT(UIScrollView, UIView)
public:
    // How far a finger may wander before a tap becomes a drag.
    static constexpr CGFloat dragThreshold = 10;

    static runtime::Ref<UIScrollView> create(CGRect frame = CGRectZero);
    ~UIScrollView() override;

    // Non-const so that a view which lays out its own content (the table) can work it out on demand.
    virtual CGSize contentSize() { return m_contentSize; }
    void setContentSize(CGSize size);
    CGPoint contentOffset() const { return bounds().origin; }
    void setContentOffset(CGPoint offset, bool animated = false);
    CGPoint clampedContentOffset(CGPoint offset);
    // Scrolls the least distance that brings `rect` (in content coordinates) into view: a rect that
    // starts above (left of) the view is aligned with its top (left) edge, one that ends below
    // (right of) it with its bottom (right) edge, and the offset is kept within the content. A rect
    // already in view moves nothing.
    void scrollRectToVisible(CGRect rect, bool animated);

    bool isScrollEnabled() const { return m_scrollEnabled; }
    void setScrollEnabled(bool enabled) { m_scrollEnabled = enabled; }
    // A finger is down on the scroll view, and (isDragging) has moved past dragThreshold.
    bool isTracking() const { return m_tracking; }
    bool isDragging() const { return m_dragging; }

    void touchesBegan(foundation::NSSet& touches, UIEvent* event) override;
    void touchesMoved(foundation::NSSet& touches, UIEvent* event) override;
    void touchesEnded(foundation::NSSet& touches, UIEvent* event) override;
    void touchesCancelled(foundation::NSSet& touches, UIEvent* event) override;

protected:
    explicit UIScrollView(CGRect frame);

    // After the offset has changed, for subclasses that place content by what is in view.
    virtual void contentOffsetDidChange() { }
    // A finger came down; it is a tap until it moves past dragThreshold.
    virtual void tapDidBegin(UITouch&) { }
    // The finger lifted without having moved past dragThreshold.
    virtual void tapDidEnd() { }
    // The finger moved past dragThreshold, or its touch was cancelled before it could.
    virtual void tapDidCancel() { }

private:
    // Stops following the finger; true when the touch was still a tap.
    bool endTracking();

    CGSize m_contentSize {};
    bool m_scrollEnabled { true };
    bool m_tracking { false };
    bool m_dragging { false };
    CGPoint m_touchStart {};
    CGPoint m_offsetAtTouchStart {};
};

}
