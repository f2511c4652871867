#pragma once

// A button for a navigation bar: a title, a style and a target-action. The item is a model, not a
// view: the bar that shows it makes the button and follows the item's changes (title, style,
// enabled). The target is held weakly, like a control's: once it dies the action is skipped. An
// item without a target (nullptr) always runs its action.

#include <runtime/Object.h>
#include <runtime/RefPtr.h>
#include <runtime/WeakPtr.h>

#include <functional>
#include <string>

namespace uikit {

class UINavigationBar;
class UIView;

enum UIBarButtonItemStyle : int {
    UIBarButtonItemStylePlain = 0,
    UIBarButtonItemStyleBordered = 1,
    UIBarButtonItemStyleDone = 2,
};

class UIBarButtonItem : public runtime::Object {
    TORVANE_OBJECT(UIBarButtonItem, runtime::Object)
public:
    using Action = std::function<void(UIBarButtonItem& sender)>;

    // initWithTitle:style:target:action:
    static runtime::Ref<UIBarButtonItem> create(std::string title, UIBarButtonItemStyle style,
        const runtime::Object* target, Action action);
    // initWithCustomView: — the view stands in the bar as it is.
    static runtime::Ref<UIBarButtonItem> createWithCustomView(runtime::Ref<UIView> view);
    ~UIBarButtonItem() override;

    const std::string& title() const { return m_title; }
    void setTitle(std::string title);
    UIBarButtonItemStyle style() const { return m_style; }
    void setStyle(UIBarButtonItemStyle style);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    UIView* customView() const { return m_customView.get(); }
    runtime::Object* target() const { return m_target.get(); }

    // What a tap does: runs the action when the item is enabled and its target (if it had one) is
    // alive. Returns whether the action ran.
    bool performAction();
    // Whether the item was made with an action (a bar's delegate handles the buttons without one).
    bool hasAction() const { return bool(m_action); }

    // The bar showing the item, told of every change (set by the bar).
    void setBar(UINavigationBar* bar) { m_bar = bar; }

protected:
    UIBarButtonItem(std::string title, UIBarButtonItemStyle style, const runtime::Object* target, Action action);

private:
    void changed();

    std::string m_title;
    UIBarButtonItemStyle m_style;
    bool m_hasTarget;
    runtime::WeakPtr<runtime::Object> m_target;
    Action m_action;
    bool m_enabled { true };
    int m_tag { 0 };
    runtime::RefPtr<UIView> m_customView;
    runtime::WeakPtr<UINavigationBar> m_bar;
};

}
