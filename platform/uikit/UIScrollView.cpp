#include <uikit/UIScrollView.h>

#include <foundation/NSSet.h>
#include <uikit/UITouch.h>

#include <algorithm>
#include <cmath>

namespace uikit {

TORVANE_DEFINE_CLASS(UIScrollView)

namespace {

// The offset along one axis that brings [start, start + length) into a view of `extent` at `offset`.
CGFloat offsetShowing(CGFloat start, CGFloat length, CGFloat offset, CGFloat extent)
{
    if (start < offset)
        return start;
    if (start + length > offset + extent)
        return start + length - extent;
    return offset;
}

}

runtime::Ref<UIScrollView> UIScrollView::create(CGRect frame)
{
    return runtime::adoptRef(*new UIScrollView(frame));
}

UIScrollView::UIScrollView(CGRect frame)
    : UIView(frame)
{
    setClipsToBounds(true);
}

UIScrollView::~UIScrollView() = default;

void UIScrollView::setContentSize(CGSize size)
{
    m_contentSize = size;
}

void UIScrollView::setContentOffset(CGPoint offset, bool)
{
    CGRect b = bounds();
    if (b.origin == offset)
        return;
    UIView::setBounds({ offset, b.size });
    contentOffsetDidChange();
}

CGPoint UIScrollView::clampedContentOffset(CGPoint offset)
{
    CGSize content = contentSize();
    CGSize visible = bounds().size;
    CGFloat maximumX = std::max<CGFloat>(0, content.width - visible.width);
    CGFloat maximumY = std::max<CGFloat>(0, content.height - visible.height);
    return { std::clamp<CGFloat>(offset.x, 0, maximumX), std::clamp<CGFloat>(offset.y, 0, maximumY) };
}

void UIScrollView::scrollRectToVisible(CGRect rect, bool animated)
{
    CGRect visible = bounds();
    CGPoint target { offsetShowing(rect.origin.x, rect.size.width, visible.origin.x, visible.size.width),
        offsetShowing(rect.origin.y, rect.size.height, visible.origin.y, visible.size.height) };
    if (target == visible.origin)
        return;
    setContentOffset(clampedContentOffset(target), animated);
}

// --- Touches -----------------------------------------------------------------------------------

void UIScrollView::touchesBegan(foundation::NSSet& touches, UIEvent*)
{
    auto touch = runtime::dynamicCast<UITouch>(touches.anyObject());
    if (!touch)
        return;
    m_tracking = true;
    m_dragging = false;
    m_touchStart = touch->locationInView(nullptr);
    m_offsetAtTouchStart = contentOffset();
    tapDidBegin(*touch);
}

void UIScrollView::touchesMoved(foundation::NSSet& touches, UIEvent*)
{
    auto touch = runtime::dynamicCast<UITouch>(touches.anyObject());
    if (!touch || !m_tracking)
        return;
    CGPoint now = touch->locationInView(nullptr);
    CGFloat dx = now.x - m_touchStart.x, dy = now.y - m_touchStart.y;
    if (!m_dragging && std::hypot(dx, dy) > dragThreshold) {
        m_dragging = true;
        tapDidCancel();
    }
    if (m_dragging && m_scrollEnabled)
        setContentOffset(clampedContentOffset({ m_offsetAtTouchStart.x - dx, m_offsetAtTouchStart.y - dy }));
}

void UIScrollView::touchesEnded(foundation::NSSet&, UIEvent*)
{
    if (endTracking())
        tapDidEnd();
}

void UIScrollView::touchesCancelled(foundation::NSSet&, UIEvent*)
{
    if (endTracking())
        tapDidCancel();
}

bool UIScrollView::endTracking()
{
    bool wasTap = m_tracking && !m_dragging;
    m_tracking = false;
    m_dragging = false;
    return wasTap;
}

}
