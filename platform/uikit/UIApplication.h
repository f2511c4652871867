#pragma once

// The application object of a process: its windows, its key window, the status-bar orientation and
// the life-cycle notifications. A host may install its own subclass with setSharedApplication
// before anyone asks for it (Settings' application carries its navigation controller).

#include <runtime/Object.h>
#include <runtime/WeakPtr.h>
#include <uikit/Forward.h>
#include <uikit/UITouch.h>
#include <uikit/UIGeometry.h>

#include <graphics/Image.h>

#include <vector>

namespace uikit {

enum UIInterfaceOrientation : int {
    UIInterfaceOrientationPortrait = 1,
    UIInterfaceOrientationPortraitUpsideDown = 2,
    UIInterfaceOrientationLandscapeLeft = 4,
    UIInterfaceOrientationLandscapeRight = 3,
};

inline constexpr const char UIApplicationWillResignActiveNotification[] = "UIApplicationWillResignActiveNotification";
inline constexpr const char UIApplicationDidEnterBackgroundNotification[] = "UIApplicationDidEnterBackgroundNotification";
inline constexpr const char UIApplicationWillEnterForegroundNotification[] = "UIApplicationWillEnterForegroundNotification";
inline constexpr const char UIApplicationDidBecomeActiveNotification[] = "UIApplicationDidBecomeActiveNotification";
inline constexpr const char UIApplicationWillChangeStatusBarOrientationNotification[] = "UIApplicationWillChangeStatusBarOrientationNotification";
inline constexpr const char UIApplicationDidChangeStatusBarOrientationNotification[] = "UIApplicationDidChangeStatusBarOrientationNotification";
// userInfo key of the orientation notifications: the new orientation (will change) or the old one
// (did change), as a number.
inline constexpr const char UIApplicationStatusBarOrientationUserInfoKey[] = "UIApplicationStatusBarOrientationUserInfoKey";

enum class UIApplicationState { Active, Inactive, Background };

class UIApplication : public runtime::Object {
    TORVANE_OBJECT(UIApplication, runtime::Object)
public:
    static UIApplication& sharedApplication();
    // Installs the process's application object; only before the first sharedApplication() call
    // takes effect (returns false afterwards).
    static bool setSharedApplication(runtime::Ref<UIApplication> application);
    static runtime::Ref<UIApplication> create();
    // The application object if one has been made or installed, without making one.
    static UIApplication* existingSharedApplication();

    // Visible windows, back to front (by level, then by the order they were shown).
    std::vector<UIWindow*> windows() const;
    UIWindow* keyWindow() const { return m_keyWindow.get(); }

    UIInterfaceOrientation statusBarOrientation() const { return m_statusBarOrientation; }
    // Posts the will/did change notifications (object: the application) when the orientation changes.
    void setStatusBarOrientation(UIInterfaceOrientation orientation, bool animated = false);

    UIApplicationState applicationState() const { return m_state; }
    // Simulated life cycle: leaving posts will-resign-active then did-enter-background; returning
    // posts will-enter-foreground then did-become-active. Repeating a move in the same direction
    // posts nothing.
    void enterBackground();
    void enterForeground();

    // The visible windows composed back to front onto black, at `scale` pixels per point, in screen
    // coordinates (each window at its frame).
    graphics::CGImage renderScreen(CGFloat scale = 2);
    // Simulated input in screen coordinates: a touch begins in the front-most visible window that
    // has a view at the point and then stays with that window until it ends.
    UIView* injectTouch(UITouchPhase phase, CGPoint screenLocation);

    // Used by UIWindow.
    void windowDidBecomeVisible(UIWindow& window);
    void windowWillGo(UIWindow& window);
    void setKeyWindow(UIWindow* window);

protected:
    UIApplication() = default;

private:
    std::vector<runtime::WeakPtr<UIWindow>> m_windows;
    runtime::WeakPtr<UIWindow> m_keyWindow;
    runtime::WeakPtr<UIWindow> m_touchWindow;
    UIInterfaceOrientation m_statusBarOrientation { UIInterfaceOrientationPortrait };
    UIApplicationState m_state { UIApplicationState::Active };
};

}
