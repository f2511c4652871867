#pragma once

// A view that turns touches into actions. Targets register an action for a mask of control events;
// sendActionsForControlEvents runs every action whose mask shares a bit with the events, in the
// order they were added. A target is held weakly: once it dies its actions are skipped and dropped.
//
// Standard touch handling (which subclasses may override, call or bypass):
// - touchesBegan: tracking starts, the control is highlighted, touch down (1) is sent.
// - touchesMoved: inside is re-evaluated against the bounds; the highlight follows it; drag
//   inside/outside (4/8) is sent, and drag enter/exit (16/32) when it changed.
// - touchesEnded: tracking ends, the highlight goes; touch up inside (64) or touch up outside (128).
// - touchesCancelled: tracking ends, the highlight goes; touch cancel (256).
// "Inside" means inside the control's own bounds (no slop margin). A disabled control
// (enabled NO) is still hit by touches, so they do not reach what lies below it, but it ignores
// them and sends nothing.

#include <runtime/WeakPtr.h>
#include <uikit/UIView.h>

#include <functional>
#include <vector>

namespace uikit {

enum UIControlEvents : unsigned {
    UIControlEventTouchDown = 1u << 0,
    UIControlEventTouchDownRepeat = 1u << 1,
    UIControlEventTouchDragInside = 1u << 2,
    UIControlEventTouchDragOutside = 1u << 3,
    UIControlEventTouchDragEnter = 1u << 4,
    UIControlEventTouchDragExit = 1u << 5,
    UIControlEventTouchUpInside = 1u << 6,
    UIControlEventTouchUpOutside = 1u << 7,
    UIControlEventTouchCancel = 1u << 8,
    UIControlEventValueChanged = 1u << 12,
    UIControlEventAllTouchEvents = 0x0FFFu,
    UIControlEventAllEvents = 0xFFFFFFFFu,
};

enum UIControlState : unsigned {
    UIControlStateNormal = 0,
    UIControlStateHighlighted = 1u << 0,
    UIControlStateDisabled = 1u << 1,
    UIControlStateSelected = 1u << 2,
};

class UIControl : public UIView {
    TORVANE_OBJECT(UIControl, UIView)
public:
    using Action = std::function<void(UIControl& sender, UIEvent* event)>;

    static runtime::Ref<UIControl> create(CGRect frame = CGRectZero);

    // `target` may be nullptr for an action that belongs to no object (it is then never skipped).
    void addTarget(const runtime::Object* target, Action action, unsigned controlEvents);
    // Removes the entries of `target` (nullptr: every entry) whose events overlap `controlEvents`.
    void removeTarget(const runtime::Object* target, unsigned controlEvents);
    // Number of live entries registered for events overlapping the mask.
    size_t actionCount(unsigned controlEvents) const;
    void sendActionsForControlEvents(unsigned controlEvents, UIEvent* event = nullptr);

    bool isEnabled() const { return m_enabled; }
    virtual void setEnabled(bool enabled);
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted);
    unsigned state() const;
    bool isTracking() const { return m_tracking; }
    bool isTouchInside() const { return m_touchInside; }

    // Tracking steps, called by the standard touch handling; return false from begin/continue to
    // stop tracking the touch.
    virtual bool beginTrackingWithTouch(UITouch& touch, UIEvent* event);
    virtual bool continueTrackingWithTouch(UITouch& touch, UIEvent* event);
    virtual void endTrackingWithTouch(UITouch* touch, UIEvent* event);
    virtual void cancelTrackingWithEvent(UIEvent* event);

    void touchesBegan(foundation::NSSet& touches, UIEvent* event) override;
    void touchesMoved(foundation::NSSet& touches, UIEvent* event) override;
    void touchesEnded(foundation::NSSet& touches, UIEvent* event) override;
    void touchesCancelled(foundation::NSSet& touches, UIEvent* event) override;

    void encodeWithCoder(NSCoder& coder) const override;
    void initWithCoder(NSCoder& coder) override;

protected:
    explicit UIControl(CGRect frame);
    // Called after enabled/selected/highlighted change, so subclasses can refresh their looks.
    virtual void stateDidChange() { }
    static UITouch* firstTouch(foundation::NSSet& touches);

private:
    struct Entry {
        bool hasTarget;
        runtime::WeakPtr<runtime::Object> target;
        Action action;
        unsigned events;
    };

    std::vector<Entry> m_entries;
    bool m_enabled { true };
    bool m_selected { false };
    bool m_highlighted { false };
    bool m_tracking { false };
    bool m_touchInside { false };
};

}
