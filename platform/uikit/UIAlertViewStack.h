#pragma once

// Internal to uikit: the alerts being shown and the window they are shown in.
//
// One window at the alert level covers the screen while any alert is shown; it dims what lies
// below and takes every touch, so the alert is modal. Alerts are stacked in the order they were
// shown; only the top one is visible, the others wait (hidden) until the ones above them go. The
// stack holds a reference to each alert, which is what keeps a shown alert alive.

#include <runtime/Ref.h>
#include <uikit/UIAlertView.h>

#include <vector>

namespace uikit {

class UIWindow;

class UIAlertViewStack {
public:
    static UIAlertViewStack& shared();

    // Puts the alert on top (its frame in screen coordinates) and shows the window.
    void push(UIAlertView& alert);
    // Takes the alert off wherever it is; the window hides when the last one goes.
    void remove(UIAlertView& alert);
    std::vector<runtime::Ref<UIAlertView>> alerts() const { return m_alerts; }
    UIWindow& window();

    // A finger tapping the centre of `view`, through the application's touch delivery: whatever
    // window lies in front at that point (an alert's) takes it. True when the touch reached the
    // view (or a view inside it).
    static bool tapView(UIView& view);

private:
    UIAlertViewStack() = default;
    void updateVisibility();

    runtime::RefPtr<UIWindow> m_window;
    std::vector<runtime::Ref<UIAlertView>> m_alerts;
};

}
