#pragma once

// A stack of screens under a navigation bar. The top screen's view fills the space below the
// 44-point bar; the bar shows the top screen's navigation item, with a back button titled after the
// screen below it that pops the top screen.
//
// Pushing and popping send the appearance callbacks (will-disappear / will-appear, then
// did-disappear / did-appear) to the screens going and coming, when the navigation controller
// itself is on screen: after showInWindow, or once its view is put into a window. Transitions are
// immediate, animated or not. The controller holds every screen of its stack; a popped screen is
// released once nobody else holds it. Modal presentation (UIViewController) from any screen of the
// stack covers the whole navigation controller, bar included.

#include <uikit/UINavigationBar.h>
#include <uikit/UIViewController.h>

#include <vector>

namespace uikit {

class UINavigationController : public UIViewController {
    TORVANE_OBJECT(UINavigationController, UIViewController)
public:
    // initWithRootViewController: (nullptr: an empty stack)
    static runtime::Ref<UINavigationController> create(runtime::RefPtr<UIViewController> rootViewController = nullptr);
    ~UINavigationController() override;

    const std::vector<runtime::Ref<UIViewController>>& viewControllers() const { return m_stack; }
    void setViewControllers(std::vector<runtime::Ref<UIViewController>> controllers, bool animated = false);
    UIViewController* topViewController() const;
    // The modal screen shown over the stack, if any, else the top screen.
    UIViewController* visibleViewController() const;

    // A controller already in a stack (this or another) is not pushed again.
    void pushViewController(runtime::Ref<UIViewController> controller, bool animated);
    // nullptr when only the root screen is left.
    runtime::RefPtr<UIViewController> popViewControllerAnimated(bool animated);
    std::vector<runtime::Ref<UIViewController>> popToRootViewControllerAnimated(bool animated);
    // Pops the screens above `controller`; nothing when it is not in the stack.
    std::vector<runtime::Ref<UIViewController>> popToViewController(UIViewController& controller, bool animated);

    UINavigationBar& navigationBar() const { return m_navigationBar.get(); }
    bool isNavigationBarHidden() const { return m_navigationBarHidden; }
    void setNavigationBarHidden(bool hidden, bool animated = false);

    void loadView() override;

    // Used by the container view when it enters or leaves a window.
    void containerDidMoveToWindow(bool inWindow);

protected:
    explicit UINavigationController(runtime::RefPtr<UIViewController> rootViewController);
    UIViewController* appearanceChild() const override { return topViewController(); }

private:
    // Replaces the stack and shows its top screen, with the appearance callbacks for the screens
    // that leave and come.
    void transition(std::vector<runtime::Ref<UIViewController>> stack, bool animated);
    CGRect contentFrame();
    void syncBar();

    std::vector<runtime::Ref<UIViewController>> m_stack;
    runtime::Ref<UINavigationBar> m_navigationBar;
    bool m_navigationBarHidden { false };
};

}
