#pragma once

// A screen: it owns a view (made on first use by loadView), has a title and a navigation item, and
// hears when its view is about to appear and disappear.
//
// Appearance: viewWillAppear / viewDidAppear / viewWillDisappear / viewDidDisappear are sent by the
// containers (a navigation controller pushing and popping, a modal presentation) and only when the
// screen's state really changes, so a controller never hears "appear" twice in a row. A navigation
// controller's view hears it too when it is put into or taken out of a window.
//
// Modal presentation: presentModalViewController shows another controller over the whole of the
// presenting one, from the outermost container up (a screen inside a navigation controller
// presents from the navigation controller, so the modal screen covers the bar too); a controller
// that already presents one presents from the one on top. The presenter's view is hidden while
// covered. dismissModalViewControllerAnimated, sent to the presenter or to the presented one, takes
// the presented controller (and anything it presents) away; with nothing presented it does nothing.
// The presenter holds the presented controller while it is shown. Transitions are immediate.
//
// Method table: the operations named in ViewControllerMethods (the view, the navigation item and
// controller, the title, the appearance callbacks and the modal operations) are registered by hand
// (registerOptional, UIOptionalOperations.h), so respondsToSelector answers for them as on the
// device.

#include <runtime/Ref.h>
#include <runtime/RefPtr.h>
#include <runtime/WeakPtr.h>
#include <uikit/UIGeometry.h>
#include <uikit/UINavigationItem.h>
#include <uikit/UIOptionalOperations.h>
#include <uikit/UIResponder.h>

#include <optional>
#include <string>

namespace uikit {

class UINavigationController;
class UIView;
class UIWindow;

class UIViewController : public UIResponder {
    TORVANE_OBJECT(UIViewController, UIResponder)
public:
    static runtime::Ref<UIViewController> create();
    ~UIViewController() override;

    // The view, loaded on first use.
    UIView& view();
    bool isViewLoaded() const { return m_view != nullptr; }
    void setView(runtime::RefPtr<UIView> view);
    // Makes the view; the default is a plain view the size of the screen below the status bar.
    virtual void loadView();
    virtual void viewDidLoad() { }

    const std::optional<std::string>& title() const { return m_title; }
    // Also the navigation item's title.
    virtual void setTitle(std::optional<std::string> title);
    UINavigationItem& navigationItem();

    UINavigationController* navigationController() const;
    UIViewController* parentViewController() const { return m_parent.get(); }
    UIViewController* modalViewController() const { return m_modal.get(); }
    UIViewController* presentingViewController() const { return m_presenting.get(); }

    void presentModalViewController(runtime::Ref<UIViewController> controller, bool animated);
    void dismissModalViewControllerAnimated(bool animated);

    virtual void viewWillAppear(bool /*animated*/) { }
    virtual void viewDidAppear(bool /*animated*/) { }
    virtual void viewWillDisappear(bool /*animated*/) { }
    virtual void viewDidDisappear(bool /*animated*/) { }

    enum class AppearanceState { Disappeared, Appearing, Appeared, Disappearing };
    AppearanceState appearanceState() const { return m_appearance; }
    bool isVisible() const { return m_appearance == AppearanceState::Appeared; }

    // Puts the view into `window`, filling it, and sends the appearance callbacks.
    void showInWindow(UIWindow& window);

    // Appearance transitions as containers send them; each does nothing when the state would not
    // change.
    void beginAppearanceTransition(bool appearing, bool animated);
    void endAppearanceTransition();

    // Used by containers.
    void setParentViewController(UIViewController* parent) { m_parent = parent; }

protected:
    UIViewController();
    // The child that appears and disappears with this controller (a container's visible child).
    virtual UIViewController* appearanceChild() const { return nullptr; }

private:
    UIViewController& outermostPresenter();
    void dismissPresented(bool animated);

    runtime::RefPtr<UIView> m_view;
    std::optional<std::string> m_title;
    runtime::RefPtr<UINavigationItem> m_navigationItem;
    runtime::WeakPtr<UIViewController> m_parent;
    runtime::RefPtr<UIViewController> m_modal;
    runtime::WeakPtr<UIViewController> m_presenting;
    AppearanceState m_appearance { AppearanceState::Disappeared };
    bool m_transitionAnimated { false };
};

// The operations a controller answers respondsToSelector for.
namespace ViewControllerMethods {
inline constinit const OptionalOperation view { "view" };
inline constinit const OptionalOperation navigationItem { "navigationItem" };
inline constinit const OptionalOperation navigationController { "navigationController" };
inline constinit const OptionalOperation parentViewController { "parentViewController" };
inline constinit const OptionalOperation title { "title" };
inline constinit const OptionalOperation setTitle { "setTitle:" };
inline constinit const OptionalOperation viewWillAppear { "viewWillAppear:" };
inline constinit const OptionalOperation viewDidAppear { "viewDidAppear:" };
inline constinit const OptionalOperation viewWillDisappear { "viewWillDisappear:" };
inline constinit const OptionalOperation viewDidDisappear { "viewDidDisappear:" };
inline constinit const OptionalOperation presentModalViewController { "presentModalViewController:animated:" };
inline constinit const OptionalOperation dismissModalViewController { "dismissModalViewControllerAnimated:" };
}

}
