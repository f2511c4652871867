#pragma once

// The Settings application's own screen stack: a key window holding a navigation controller whose
// root is the list of settings panes. Preference bundles push their screens onto it; the
// application tells everyone when it resigns active or goes to the background.

#include <runtime/Object.h>
#include <uikit/UINavigationController.h>
#include <uikit/UIViewController.h>
#include <uikit/UIWindow.h>

#include <string>
#include <vector>

namespace preferences {

class SettingsApplication : public runtime::Object {
    TORVANE_OBJECT(SettingsApplication, runtime::Object)
public:
    static runtime::Ref<SettingsApplication> create();

    uikit::UIWindow& window() { return m_window.get(); }
    uikit::UINavigationController& navigationController() { return m_navigation.get(); }

    // The screens above the Settings list, bottom to top, with a modal screen on top last.
    std::vector<runtime::Ref<uikit::UIViewController>> paneStack() const;

    // The home button: posts UIApplicationWillResignActiveNotification, then
    // UIApplicationDidEnterBackgroundNotification, as UIKit does when the application leaves.
    void resignActive();

private:
    SettingsApplication();

    runtime::Ref<uikit::UIWindow> m_window;
    runtime::Ref<uikit::UIViewController> m_root;
    runtime::Ref<uikit::UINavigationController> m_navigation;
};

}
