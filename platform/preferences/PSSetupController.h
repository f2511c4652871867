#pragma once

// A screen presented modally over the Settings stack, with a navigation bar of its own: a
// navigation controller whose first screen is the opening row's customControllerClass. It is the
// delegate of its bar: navigationBarButtonClicked(bar, index) is sent for the bar's own buttons
// (those without an action of their own); index 1 closes the setup controller, index 0 is the
// "done" side and also closes it. Bar buttons with their own target and action run only that.

#include <preferences/PSSpecifier.h>
#include <runtime/RefPtr.h>
#include <uikit/UINavigationBar.h>
#include <uikit/UINavigationController.h>

namespace preferences {

class PSViewController;

class PSSetupController : public uikit::UINavigationController {
    TORVANE_OBJECT(PSSetupController, uikit::UINavigationController)
public:
    static runtime::Ref<PSSetupController> create();

    // Makes the first screen from the specifier's customControllerClass (nothing when the class is
    // unknown) and remembers who presents it.
    virtual void setupWithSpecifier(PSSpecifier& specifier, uikit::UINavigationController& rootController, PSViewController* parent);
    PSSpecifier* specifier() const { return m_specifier.get(); }

    // navigationBar:buttonClicked:
    virtual void navigationBarButtonClicked(uikit::UINavigationBar& bar, int buttonIndex);

    // Closes the setup controller (dismissModalViewControllerAnimated on its presenter).
    void dismiss(bool animated);

protected:
    PSSetupController();

private:
    runtime::RefPtr<PSSpecifier> m_specifier;
    runtime::WeakPtr<uikit::UINavigationController> m_rootController;
};

}
