#pragma once

// The Settings application object: the key window holding the navigation controller (its
// rootController) whose first screen is the PrefsListController. It is the process's shared
// UIApplication, so panes reach the stack with UIApplication::sharedApplication().
//
// Leaving (the home button) sends UIApplicationWillResignActiveNotification and then
// UIApplicationDidEnterBackgroundNotification; coming back makes it active again.

#include <preferences/PrefsListController.h>
#include <runtime/Ref.h>
#include <uikit/UIApplication.h>
#include <uikit/UINavigationController.h>
#include <uikit/UIWindow.h>

#include <vector>

namespace preferences {

class SettingsApplication : public uikit::UIApplication {
    TORVANE_OBJECT(SettingsApplication, uikit::UIApplication)
public:
    // Makes the application and installs it as the shared one.
    static runtime::Ref<SettingsApplication> create();
    // The shared application when it is the Settings application, else nullptr.
    static SettingsApplication* shared();

    uikit::UIWindow& window() { return m_window.get(); }
    // rootController
    uikit::UINavigationController& rootController() { return m_navigation.get(); }
    PrefsListController& prefsListController() { return m_prefsList.get(); }

    // The navigation stack bottom to top, PrefsListController first; a modal screen on top follows,
    // and a modal navigation controller (a setup controller) gives its own stack instead of itself.
    std::vector<runtime::Ref<uikit::UIViewController>> screenStack() const;
    // The screen the user sees: the top of screenStack.
    uikit::UIViewController& topScreen() const;

    // The home button: resign active and enter the background.
    void resignActive();
    // Back to the front (before the user opens a screen again).
    void becomeActive();

private:
    SettingsApplication();

    runtime::Ref<uikit::UIWindow> m_window;
    runtime::Ref<PrefsListController> m_prefsList;
    runtime::Ref<uikit::UINavigationController> m_navigation;
};

}
