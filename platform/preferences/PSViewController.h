#pragma once

// A screen of the Settings application: a view controller made for a content size, placed on the
// Settings navigation stack (its root controller) by the screen that opens it.
//
// Screens named in specifier files are made by class name (PSClassFactory); each such class
// registers itself with PS_REGISTER_CONTROLLER_CLASS in its .cpp file.

#include <foundation/NSString.h>
#include <runtime/RefPtr.h>
#include <runtime/WeakPtr.h>
#include <uikit/UIGeometry.h>
#include <uikit/UINavigationController.h>
#include <uikit/UIViewController.h>

#include <string>

namespace preferences {

// Preference screens and cells speak in UIKit's geometry.
using uikit::CGFloat;
using uikit::CGPoint;
using uikit::CGRect;
using uikit::CGSize;

class PSSpecifier;

class PSViewController : public uikit::UIViewController {
    TORVANE_OBJECT(PSViewController, uikit::UIViewController)
public:
    static runtime::Ref<PSViewController> create();

    // initForContentSize: — sets up the screen for the area below the navigation bar. Subclasses
    // build their views here; the base only remembers the size. Returns false when the screen
    // could not be made (the opener then shows nothing).
    virtual bool initForContentSize(CGSize size);
    CGSize contentSize() const { return m_contentSize; }
    // The area a Settings screen gets: the whole screen below a navigation bar (the Settings window
    // shows no status bar). Screens opened from a row are made for it too.
    static CGSize screenContentSize();

    // The title shown in the navigation bar (navigationTitle); empty gives the specifier's name.
    virtual std::string navigationTitle() const { return {}; }

    // The Settings application's navigation controller (rootController).
    uikit::UINavigationController* rootController() const { return m_rootController.get(); }
    void setRootController(uikit::UINavigationController* controller) { m_rootController = controller; }
    // The screen that opened this one (parentController).
    PSViewController* parentController() const { return m_parentController.get(); }
    void setParentController(PSViewController* controller) { m_parentController = controller; }
    // The row that opened this screen.
    PSSpecifier* specifier() const { return m_specifier.get(); }
    void setSpecifier(runtime::RefPtr<PSSpecifier> specifier);

protected:
    PSViewController();

private:
    CGSize m_contentSize { 0, 0 };
    runtime::WeakPtr<uikit::UINavigationController> m_rootController;
    runtime::WeakPtr<PSViewController> m_parentController;
    runtime::RefPtr<PSSpecifier> m_specifier;
};

}
