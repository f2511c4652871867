#include <uikit/UIControl.h>

#include <foundation/NSSet.h>
#include <uikit/UITouch.h>

namespace uikit {

TORVANE_DEFINE_CLASS(UIControl)
TORVANE_ARCHIVABLE_CLASS(UIControl, UIControl::create())

runtime::Ref<UIControl> UIControl::create(CGRect frame)
{
    return runtime::adoptRef(*new UIControl(frame));
}

UIControl::UIControl(CGRect frame)
    : UIView(frame)
{
}

// --- Target-action --------------------------------------------------------------------------------

void UIControl::addTarget(const runtime::Object* target, Action action, unsigned controlEvents)
{
    if (!action || !controlEvents)
        return;
    m_entries.push_back({ target != nullptr, runtime::WeakPtr<runtime::Object>(target), std::move(action), controlEvents });
}

void UIControl::removeTarget(const runtime::Object* target, unsigned controlEvents)
{
    std::erase_if(m_entries, [&](const Entry& entry) {
        bool targetMatches = !target || entry.target.get() == target;
        return targetMatches && (entry.events & controlEvents);
    });
}

size_t UIControl::actionCount(unsigned controlEvents) const
{
    size_t count = 0;
    for (auto& entry : m_entries) {
        if ((entry.events & controlEvents) && (!entry.hasTarget || entry.target.get()))
            ++count;
    }
    return count;
}

void UIControl::sendActionsForControlEvents(unsigned controlEvents, UIEvent* event)
{
    runtime::Ref<UIControl> protect(*this);
    // Entries whose target died are dropped; the list is copied so actions may add or remove
    // targets (and even remove this control) while they run.
    std::erase_if(m_entries, [](const Entry& entry) { return entry.hasTarget && !entry.target.get(); });
    auto entries = m_entries;
    for (auto& entry : entries) {
        if (!(entry.events & controlEvents))
            continue;
        runtime::RefPtr<runtime::Object> target = entry.target.strong();
        if (entry.hasTarget && !target)
            continue;
        entry.action(*this, event);
    }
}

// --- State ----------------------------------------------------------------------------------------

void UIControl::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    if (!enabled) {
        m_highlighted = false;
        m_tracking = false;
    }
    stateDidChange();
    setNeedsDisplay();
}

void UIControl::setSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    stateDidChange();
    setNeedsDisplay();
}

void UIControl::setHighlighted(bool highlighted)
{
    if (m_highlighted == highlighted)
        return;
    m_highlighted = highlighted;
    stateDidChange();
    setNeedsDisplay();
}

unsigned UIControl::state() const
{
    unsigned state = UIControlStateNormal;
    if (m_highlighted)
        state |= UIControlStateHighlighted;
    if (!m_enabled)
        state |= UIControlStateDisabled;
    if (m_selected)
        state |= UIControlStateSelected;
    return state;
}

// --- Tracking -------------------------------------------------------------------------------------

bool UIControl::beginTrackingWithTouch(UITouch&, UIEvent*)
{
    return true;
}

bool UIControl::continueTrackingWithTouch(UITouch&, UIEvent*)
{
    return true;
}

void UIControl::endTrackingWithTouch(UITouch*, UIEvent*)
{
}

void UIControl::cancelTrackingWithEvent(UIEvent*)
{
}

UITouch* UIControl::firstTouch(foundation::NSSet& touches)
{
    return runtime::dynamicCast<UITouch>(touches.anyObject()).get(); // the set keeps the touch
}

void UIControl::touchesBegan(foundation::NSSet& touches, UIEvent* event)
{
    UITouch* touch = firstTouch(touches);
    if (!touch || !m_enabled)
        return;
    runtime::Ref<UIControl> protect(*this);
    m_touchInside = true;
    m_tracking = beginTrackingWithTouch(*touch, event);
    setHighlighted(true);
    sendActionsForControlEvents(UIControlEventTouchDown, event);
}

void UIControl::touchesMoved(foundation::NSSet& touches, UIEvent* event)
{
    UITouch* touch = firstTouch(touches);
    if (!touch || !m_enabled)
        return;
    runtime::Ref<UIControl> protect(*this);
    bool wasInside = m_touchInside;
    m_touchInside = pointInside(touch->locationInView(this), event);
    setHighlighted(m_touchInside);
    if (m_tracking)
        m_tracking = continueTrackingWithTouch(*touch, event);
    unsigned events = m_touchInside ? UIControlEventTouchDragInside : UIControlEventTouchDragOutside;
    if (wasInside != m_touchInside)
        events |= m_touchInside ? UIControlEventTouchDragEnter : UIControlEventTouchDragExit;
    sendActionsForControlEvents(events, event);
}

void UIControl::touchesEnded(foundation::NSSet& touches, UIEvent* event)
{
    UITouch* touch = firstTouch(touches);
    if (!touch || !m_enabled)
        return;
    runtime::Ref<UIControl> protect(*this);
    m_touchInside = pointInside(touch->locationInView(this), event);
    setHighlighted(false);
    if (m_tracking)
        endTrackingWithTouch(touch, event);
    m_tracking = false;
    sendActionsForControlEvents(m_touchInside ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside, event);
    m_touchInside = false;
}

void UIControl::touchesCancelled(foundation::NSSet&, UIEvent* event)
{
    runtime::Ref<UIControl> protect(*this);
    setHighlighted(false);
    if (m_tracking)
        cancelTrackingWithEvent(event);
    m_tracking = false;
    m_touchInside = false;
    sendActionsForControlEvents(UIControlEventTouchCancel, event);
}

// --- Archiving ------------------------------------------------------------------------------------

void UIControl::encodeWithCoder(NSCoder& coder) const
{
    UIView::encodeWithCoder(coder);
    coder.encodeBool(m_enabled, "UIEnabled");
    coder.encodeBool(m_selected, "UISelected");
}

void UIControl::initWithCoder(NSCoder& coder)
{
    UIView::initWithCoder(coder);
    // Actions are not archived (as in UIKit, whose targets are rarely archivable).
    m_enabled = coder.containsValueForKey("UIEnabled") ? coder.decodeBool("UIEnabled") : true;
    m_selected = coder.decodeBool("UISelected");
}

}
