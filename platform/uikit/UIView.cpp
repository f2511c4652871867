#include <uikit/UIView.h>

#include <foundation/RunLoop.h>
#include <uikit/LayoutScheduler.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIWindow.h>

#include <algorithm>

namespace uikit {

TORVANE_DEFINE_CLASS(UIView)
TORVANE_ARCHIVABLE_CLASS(UIView, UIView::create())

runtime::Ref<UIView> UIView::create(CGRect frame)
{
    return runtime::adoptRef(*new UIView(frame));
}

UIView::UIView(CGRect frame)
    : UIView(frame, quartzcore::CALayer::create())
{
}

UIView::UIView(CGRect frame, runtime::Ref<quartzcore::CALayer> layer)
    : m_layer(std::move(layer))
{
    m_layer->setDelegate(this);
    m_layer->setFrame(frame);
}

UIView::~UIView()
{
    // The layer may be held elsewhere (a layer tree somebody kept); it must not call back into a
    // view that is gone.
    m_layer->setDelegate(nullptr);
}

// --- Geometry and looks -----------------------------------------------------------------------

void UIView::setFrame(CGRect frame)
{
    m_layer->setFrame(frame);
}

void UIView::setBounds(CGRect bounds)
{
    m_layer->setBounds(bounds);
}

void UIView::setCenter(CGPoint center)
{
    m_layer->setPosition(center);
}

void UIView::setAlpha(CGFloat alpha)
{
    m_layer->setOpacity(alpha);
}

void UIView::setHidden(bool hidden)
{
    m_layer->setHidden(hidden);
}

void UIView::setBackgroundColor(runtime::RefPtr<UIColor> color)
{
    m_layer->setBackgroundColor(color ? color->CGColor() : graphics::CGColor());
    m_backgroundColor = std::move(color);
}

// --- Tree -----------------------------------------------------------------------------------------

UIWindow* UIView::window() const
{
    const UIView* top = root();
    return top->isKindOf<UIWindow>() ? static_cast<UIWindow*>(const_cast<UIView*>(top)) : nullptr;
}

const UIView* UIView::root() const
{
    const UIView* view = this;
    while (UIView* parent = view->superview())
        view = parent;
    return view;
}

bool UIView::isDescendantOfView(const UIView* view) const
{
    for (const UIView* ancestor = this; ancestor; ancestor = ancestor->superview()) {
        if (ancestor == view)
            return true;
    }
    return false;
}

void UIView::addSubview(runtime::Ref<UIView> view)
{
    attachSubview(std::move(view), m_subviews.size());
}

void UIView::insertSubviewAtIndex(runtime::Ref<UIView> view, size_t index)
{
    attachSubview(std::move(view), index);
}

void UIView::insertSubviewBelowSubview(runtime::Ref<UIView> view, const UIView* sibling)
{
    size_t index = 0;
    if (sibling && sibling->superview() == this) {
        index = static_cast<size_t>(std::find_if(m_subviews.begin(), m_subviews.end(), [&](auto& sub) { return sub.ptr() == sibling; }) - m_subviews.begin());
        if (view->superview() == this) {
            size_t current = static_cast<size_t>(std::find_if(m_subviews.begin(), m_subviews.end(), [&](auto& sub) { return sub.ptr() == view.ptr(); }) - m_subviews.begin());
            if (current < index)
                --index;
        }
    }
    attachSubview(std::move(view), index);
}

void UIView::insertSubviewAboveSubview(runtime::Ref<UIView> view, const UIView* sibling)
{
    size_t index = m_subviews.size();
    if (sibling && sibling->superview() == this) {
        index = static_cast<size_t>(std::find_if(m_subviews.begin(), m_subviews.end(), [&](auto& sub) { return sub.ptr() == sibling; }) - m_subviews.begin()) + 1;
        if (view->superview() == this) {
            size_t current = static_cast<size_t>(std::find_if(m_subviews.begin(), m_subviews.end(), [&](auto& sub) { return sub.ptr() == view.ptr(); }) - m_subviews.begin());
            if (current < index)
                --index;
        }
    }
    attachSubview(std::move(view), index);
}

void UIView::attachSubview(runtime::Ref<UIView> view, size_t index)
{
    // A view inside itself would make a cycle of owners; a window is always a root.
    if (isDescendantOfView(view.ptr()) || view->isKindOf<UIWindow>())
        return;

    if (view->superview() == this) {
        // Reordering only: no tree notifications.
        auto it = std::find_if(m_subviews.begin(), m_subviews.end(), [&](auto& sub) { return sub.ptr() == view.ptr(); });
        m_subviews.erase(it);
        index = std::min(index, m_subviews.size());
        m_subviews.insert(m_subviews.begin() + static_cast<long>(index), view);
    } else {
        UIWindow* oldWindow = view->window();
        UIWindow* newWindow = window();
        if (UIView* oldParent = view->superview())
            oldParent->willRemoveSubview(view);
        view->willMoveToSuperview(this);
        if (oldWindow != newWindow)
            view->propagateWindowChange(oldWindow, newWindow, true);
        view->detachFromSuperview();
        index = std::min(index, m_subviews.size());
        m_subviews.insert(m_subviews.begin() + static_cast<long>(index), view);
        view->m_superview = this;
        placeSubviewLayer(index);
        view->didMoveToSuperview();
        if (oldWindow != newWindow)
            view->propagateWindowChange(oldWindow, newWindow, false);
        didAddSubview(view);
        view->setNeedsLayout();
        setNeedsLayout();
        return;
    }
    placeSubviewLayer(index);
}

void UIView::placeSubviewLayer(size_t index)
{
    // A subview's layer goes right below the layer of the subview that follows it, so layers that
    // are not views (a button's face) keep their place relative to the views.
    auto& layer = m_subviews[index]->layer();
    if (index + 1 < m_subviews.size())
        m_layer->insertSublayerBelow(layer, &m_subviews[index + 1]->layer());
    else
        m_layer->addSublayer(layer);
}

void UIView::bringSubviewToFront(UIView& view)
{
    if (view.superview() != this)
        return;
    runtime::Ref<UIView> protect(view);
    auto it = std::find_if(m_subviews.begin(), m_subviews.end(), [&](auto& sub) { return sub.ptr() == &view; });
    m_subviews.erase(it);
    m_subviews.push_back(protect);
    m_layer->addSublayer(view.layer());
}

void UIView::sendSubviewToBack(UIView& view)
{
    if (view.superview() != this)
        return;
    runtime::Ref<UIView> protect(view);
    auto it = std::find_if(m_subviews.begin(), m_subviews.end(), [&](auto& sub) { return sub.ptr() == &view; });
    m_subviews.erase(it);
    m_subviews.insert(m_subviews.begin(), protect);
    m_layer->insertSublayerAtIndex(view.layer(), 0);
}

void UIView::removeFromSuperview()
{
    UIView* parent = superview();
    if (!parent)
        return;
    runtime::Ref<UIView> protect(*this);
    UIWindow* oldWindow = window();
    parent->willRemoveSubview(*this);
    willMoveToSuperview(nullptr);
    if (oldWindow)
        propagateWindowChange(oldWindow, nullptr, true);
    detachFromSuperview();
    didMoveToSuperview();
    if (oldWindow)
        propagateWindowChange(oldWindow, nullptr, false);
}

void UIView::detachFromSuperview()
{
    UIView* parent = superview();
    if (!parent)
        return;
    runtime::Ref<UIView> protect(*this);
    auto& siblings = parent->m_subviews;
    auto it = std::find_if(siblings.begin(), siblings.end(), [&](auto& sub) { return sub.ptr() == this; });
    if (it != siblings.end())
        siblings.erase(it);
    if (m_layer->superlayer() == &parent->layer())
        m_layer->removeFromSuperlayer();
    m_superview = nullptr;
    parent->setNeedsLayout();
}

void UIView::propagateWindowChange(UIWindow* oldWindow, UIWindow* newWindow, bool before)
{
    (void)oldWindow;
    if (before)
        willMoveToWindow(newWindow);
    else
        didMoveToWindow();
    auto subviews = m_subviews;
    for (auto& subview : subviews)
        subview->propagateWindowChange(oldWindow, newWindow, before);
}

UIView* UIView::viewWithTag(int tag) const
{
    if (m_tag == tag)
        return const_cast<UIView*>(this);
    for (auto& subview : m_subviews) {
        if (UIView* found = subview->viewWithTag(tag))
            return found;
    }
    return nullptr;
}

// --- Layout ---------------------------------------------------------------------------------------

void UIView::setNeedsLayout()
{
    m_needsLayout = true;
    LayoutScheduler::scheduleLayoutPass();
}

void UIView::layoutIfNeeded()
{
    runtime::Ref<UIView> protect(*this);
    if (m_needsLayout && !m_inLayout) {
        m_needsLayout = false;
        m_inLayout = true;
        layoutSubviews();
        m_inLayout = false;
    }
    auto subviews = m_subviews;
    for (auto& subview : subviews)
        subview->layoutIfNeeded();
}

CGSize UIView::sizeThatFits(CGSize) const
{
    return bounds().size;
}

void UIView::sizeToFit()
{
    CGRect frame = this->frame();
    frame.size = sizeThatFits(frame.size);
    setFrame(frame);
}

void UIView::layerDidChangeSize(quartzcore::CALayer&, CGSize oldSize)
{
    if (m_autoresizesSubviews)
        autoresizeSubviews(oldSize);
    setNeedsLayout();
}

void UIView::autoresizeSubviews(CGSize oldSize)
{
    CGSize newSize = bounds().size;
    auto subviews = m_subviews;
    for (auto& subview : subviews)
        subview->autoresize(oldSize, newSize);
}

namespace {

// Shares `delta` among the flexible parts of one axis (margin before, size, margin after) in
// proportion to their current lengths, or evenly when they are all zero.
void distribute(CGFloat delta, bool flexBefore, bool flexSize, bool flexAfter, CGFloat& before, CGFloat& size, CGFloat after)
{
    int count = flexBefore + flexSize + flexAfter;
    if (count == 0 || delta == 0)
        return;
    CGFloat total = (flexBefore ? before : 0) + (flexSize ? size : 0) + (flexAfter ? after : 0);
    auto share = [&](CGFloat length) { return total > 0 ? delta * length / total : delta / static_cast<CGFloat>(count); };
    CGFloat beforeShare = flexBefore ? share(before) : 0;
    CGFloat sizeShare = flexSize ? share(size) : 0;
    before += beforeShare;
    size = std::max(0.0f, size + sizeShare);
}

}

void UIView::autoresize(CGSize oldSuperSize, CGSize newSuperSize)
{
    if (m_autoresizingMask == UIViewAutoresizingNone)
        return;
    CGRect frame = this->frame();
    CGFloat right = oldSuperSize.width - frame.origin.x - frame.size.width;
    CGFloat bottom = oldSuperSize.height - frame.origin.y - frame.size.height;
    unsigned mask = m_autoresizingMask;
    distribute(newSuperSize.width - oldSuperSize.width, mask & UIViewAutoresizingFlexibleLeftMargin,
        mask & UIViewAutoresizingFlexibleWidth, mask & UIViewAutoresizingFlexibleRightMargin, frame.origin.x, frame.size.width, right);
    distribute(newSuperSize.height - oldSuperSize.height, mask & UIViewAutoresizingFlexibleTopMargin,
        mask & UIViewAutoresizingFlexibleHeight, mask & UIViewAutoresizingFlexibleBottomMargin, frame.origin.y, frame.size.height, bottom);
    setFrame(frame);
}

// --- Drawing --------------------------------------------------------------------------------------

void UIView::setNeedsDisplay()
{
    m_layer->setNeedsDisplay();
}

void UIView::drawRect(CGRect)
{
}

void UIView::drawLayerInContext(quartzcore::CALayer&, const graphics::CGContext& context)
{
    ScopedCurrentContext current(context);
    drawRect(bounds());
}

// --- Hit testing and coordinates ----------------------------------------------------------------

UIView* UIView::hitTest(CGPoint point, UIEvent* event)
{
    if (isHidden() || !m_userInteractionEnabled || alpha() < 0.01f)
        return nullptr;
    if (!pointInside(point, event))
        return nullptr;
    for (auto it = m_subviews.rbegin(); it != m_subviews.rend(); ++it) {
        UIView& subview = it->get();
        CGRect frame = subview.frame();
        CGPoint boundsOrigin = subview.bounds().origin;
        CGPoint inSubview { point.x - frame.origin.x + boundsOrigin.x, point.y - frame.origin.y + boundsOrigin.y };
        if (UIView* hit = subview.hitTest(inSubview, event))
            return hit;
    }
    return this;
}

bool UIView::pointInside(CGPoint point, UIEvent*) const
{
    return graphics::CGRectContainsPoint(bounds(), point);
}

CGPoint UIView::screenOrigin() const
{
    // Where this view's bounds origin lies in the coordinates its root's frame is given in.
    CGPoint origin {};
    for (const UIView* view = this; view; view = view->superview()) {
        CGRect frame = view->frame();
        CGPoint boundsOrigin = view->bounds().origin;
        origin.x += frame.origin.x - boundsOrigin.x;
        origin.y += frame.origin.y - boundsOrigin.y;
    }
    return origin;
}

CGPoint UIView::convertPointToView(CGPoint point, const UIView* view) const
{
    CGPoint from = screenOrigin();
    CGPoint to = (view ? view : root())->screenOrigin();
    return { point.x + from.x - to.x, point.y + from.y - to.y };
}

CGPoint UIView::convertPointFromView(CGPoint point, const UIView* view) const
{
    CGPoint from = (view ? view : root())->screenOrigin();
    CGPoint to = screenOrigin();
    return { point.x + from.x - to.x, point.y + from.y - to.y };
}

CGRect UIView::convertRectToView(CGRect rect, const UIView* view) const
{
    return { convertPointToView(rect.origin, view), rect.size };
}

CGRect UIView::convertRectFromView(CGRect rect, const UIView* view) const
{
    return { convertPointFromView(rect.origin, view), rect.size };
}

UIResponder* UIView::nextResponder() const
{
    return superview();
}

// --- Archiving ------------------------------------------------------------------------------------

void UIView::encodeWithCoder(NSCoder& coder) const
{
    coder.encodeRect(frame(), "UIFrame");
    coder.encodePoint(bounds().origin, "UIBoundsOrigin");
    coder.encodeInt(m_tag, "UITag");
    coder.encodeDouble(alpha(), "UIAlpha");
    coder.encodeBool(isHidden(), "UIHidden");
    coder.encodeObject(m_backgroundColor.get(), "UIBackgroundColor");
    coder.encodeBool(isOpaque(), "UIOpaque");
    coder.encodeBool(clipsToBounds(), "UIClipsToBounds");
    coder.encodeInt(m_autoresizingMask, "UIAutoresizingMask");
    coder.encodeBool(m_autoresizesSubviews, "UIAutoresizeSubviews");
    coder.encodeBool(m_userInteractionEnabled, "UIUserInteractionEnabled");
    coder.encodeBool(m_multipleTouchEnabled, "UIMultipleTouchEnabled");
    coder.encodeDouble(m_layer->borderWidth(), "UIBorderWidth");
    if (m_layer->borderColor()) {
        auto border = UIColor::colorWithCGColor(m_layer->borderColor());
        coder.encodeObject(border.ptr(), "UIBorderColor");
    }
    coder.encodeDouble(m_layer->cornerRadius(), "UICornerRadius");
    std::vector<const runtime::Object*> subviews;
    for (auto& subview : m_subviews)
        subviews.push_back(subview.ptr());
    coder.encodeObjects(subviews, "UISubviews");
}

void UIView::initWithCoder(NSCoder& coder)
{
    m_layer->setFrame(coder.decodeRect("UIFrame"));
    CGRect bounds = this->bounds();
    bounds.origin = coder.decodePoint("UIBoundsOrigin");
    m_layer->setBounds(bounds);
    m_tag = static_cast<int>(coder.decodeInt("UITag"));
    m_layer->setOpacity(coder.containsValueForKey("UIAlpha") ? static_cast<float>(coder.decodeDouble("UIAlpha")) : 1.0f);
    m_layer->setHidden(coder.decodeBool("UIHidden"));
    setBackgroundColor(coder.decodeObjectOfClass<UIColor>("UIBackgroundColor"));
    m_layer->setOpaque(coder.decodeBool("UIOpaque"));
    m_layer->setMasksToBounds(coder.decodeBool("UIClipsToBounds"));
    m_autoresizingMask = static_cast<unsigned>(coder.decodeInt("UIAutoresizingMask"));
    m_autoresizesSubviews = coder.decodeBool("UIAutoresizeSubviews");
    m_userInteractionEnabled = coder.decodeBool("UIUserInteractionEnabled");
    m_multipleTouchEnabled = coder.decodeBool("UIMultipleTouchEnabled");
    m_layer->setBorderWidth(static_cast<CGFloat>(coder.decodeDouble("UIBorderWidth")));
    if (auto border = coder.decodeObjectOfClass<UIColor>("UIBorderColor"))
        m_layer->setBorderColor(border->CGColor());
    m_layer->setCornerRadius(static_cast<CGFloat>(coder.decodeDouble("UICornerRadius")));
    for (auto& object : coder.decodeObjects("UISubviews")) {
        if (auto subview = runtime::dynamicCast<UIView>(object))
            addSubview(*subview);
    }
}

}
