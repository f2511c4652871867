#pragma once

// A window: the root of a view tree, the root of rendering and of touch delivery. Windows are
// listed by the application (weakly: whoever makes a window owns it) and stacked by windowLevel,
// then by the order they were made visible.
//
// Touches: the window hit-tests a touch when it begins and sends every phase of that touch to the
// view hit (touchesBegan/Moved/Ended/Cancelled with an NSSet holding the one UITouch and the UIEvent),
// even when the finger has moved outside it, as UIKit does. If the touched view leaves the window
// during the touch, later phases are dropped.

#include <graphics/Image.h>
#include <uikit/UITouch.h>
#include <uikit/UIView.h>

#include <optional>

namespace uikit {

using UIWindowLevel = CGFloat;
inline constexpr UIWindowLevel UIWindowLevelNormal = 0;
inline constexpr UIWindowLevel UIWindowLevelAlert = 2000;
inline constexpr UIWindowLevel UIWindowLevelStatusBar = 1000;

class UIWindow : public UIView {
    TORVANE_OBJECT(UIWindow, UIView)
public:
    static runtime::Ref<UIWindow> create(CGRect frame);
    ~UIWindow() override;

    UIWindow* window() const override { return const_cast<UIWindow*>(this); }

    UIWindowLevel windowLevel() const { return m_windowLevel; }
    void setWindowLevel(UIWindowLevel level) { m_windowLevel = level; }

    // Shows the window and makes it the application's key window.
    void makeKeyAndVisible();
    void makeKeyWindow();
    bool isKeyWindow() const;

    // Delivers a touch event to the touched view (see above).
    virtual void sendEvent(UIEvent& event);

    // Simulated input: one finger at a point in the window's coordinates. Began starts a new touch
    // (a touch still in progress is cancelled first); Moved/Ended/Cancelled without a touch in
    // progress are ignored. Returns the view the touch belongs to (nullptr when nothing was hit).
    UIView* injectTouch(UITouchPhase phase, CGPoint location);
    // The view the current touch belongs to, if a touch is in progress.
    UIView* touchedView() const;

    // Renders the window's tree at `scale` pixels per point (see ViewRendering.h).
    graphics::CGImage renderImage(CGFloat scale = 2);

protected:
    explicit UIWindow(CGRect frame);

private:
    UIWindowLevel m_windowLevel { UIWindowLevelNormal };
    runtime::RefPtr<UITouch> m_touch;
};

}
