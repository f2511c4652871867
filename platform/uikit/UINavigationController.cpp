#include <uikit/UINavigationController.h>

#include <foundation/NSLog.h>
#include <uikit/UIColor.h>
#include <uikit/UIScreen.h>
#include <uikit/UIView.h>
#include <uikit/UIWindow.h>

#include <algorithm>

namespace uikit {

TORVANE_DEFINE_CLASS(UINavigationController)

namespace {

// The navigation controller's own view: it tells the controller when it enters or leaves a window,
// so a stack put on screen by its host hears that its top screen appears.
class NavigationContainerView final : public UIView {
    TORVANE_OBJECT(NavigationContainerView, UIView)
public:
    static runtime::Ref<NavigationContainerView> create(CGRect frame, UINavigationController& controller)
    {
        return runtime::adoptRef(*new NavigationContainerView(frame, controller));
    }

    void didMoveToWindow() override
    {
        if (auto controller = m_controller.strong())
            controller->containerDidMoveToWindow(window() != nullptr);
    }

private:
    NavigationContainerView(CGRect frame, UINavigationController& controller)
        : UIView(frame)
        , m_controller(controller)
    {
    }

    runtime::WeakPtr<UINavigationController> m_controller;
};

TORVANE_DEFINE_CLASS(NavigationContainerView)

}

runtime::Ref<UINavigationController> UINavigationController::create(runtime::RefPtr<UIViewController> rootViewController)
{
    return runtime::adoptRef(*new UINavigationController(std::move(rootViewController)));
}

UINavigationController::UINavigationController(runtime::RefPtr<UIViewController> rootViewController)
    : m_navigationBar(UINavigationBar::create())
{
    runtime::WeakPtr<UINavigationController> weakThis(*this);
    m_navigationBar->setBackHandler([weakThis] {
        if (auto controller = weakThis.strong())
            controller->popViewControllerAnimated(true);
    });
    if (rootViewController)
        setViewControllers({ rootViewController.releaseNonNull() }, false);
}

UINavigationController::~UINavigationController()
{
    m_navigationBar->setBackHandler(nullptr);
    for (auto& controller : m_stack)
        controller->setParentViewController(nullptr);
}

void UINavigationController::loadView()
{
    CGRect frame = UIScreen::mainScreen().applicationFrame();
    auto container = NavigationContainerView::create(frame, *this);
    container->setBackgroundColor(UIColor::blackColor());
    container->setClipsToBounds(true);
    m_navigationBar->setFrame({ { 0, 0 }, { frame.size.width, UINavigationBar::height } });
    m_navigationBar->setHidden(m_navigationBarHidden);
    container->addSubview(m_navigationBar);
    setView(container);
    if (auto* top = topViewController()) {
        UIView& shown = top->view();
        shown.setFrame(contentFrame());
        container->addSubview(shown);
    }
}

CGRect UINavigationController::contentFrame()
{
    CGRect bounds = view().bounds();
    CGFloat top = m_navigationBarHidden ? 0 : UINavigationBar::height;
    return { { 0, top }, { bounds.size.width, std::max<CGFloat>(0, bounds.size.height - top) } };
}

UIViewController* UINavigationController::topViewController() const
{
    return m_stack.empty() ? nullptr : m_stack.back().ptr();
}

UIViewController* UINavigationController::visibleViewController() const
{
    if (auto* modal = modalViewController()) {
        UIViewController* shown = modal;
        while (shown->modalViewController())
            shown = shown->modalViewController();
        return shown;
    }
    return topViewController();
}

void UINavigationController::syncBar()
{
    std::vector<runtime::Ref<UINavigationItem>> items;
    for (auto& controller : m_stack)
        items.emplace_back(controller->navigationItem());
    m_navigationBar->setItems(std::move(items));
}

void UINavigationController::transition(std::vector<runtime::Ref<UIViewController>> stack, bool animated)
{
    runtime::Ref<UINavigationController> protect(*this);
    runtime::RefPtr<UIViewController> leaving = topViewController();
    runtime::RefPtr<UIViewController> coming = stack.empty() ? nullptr : stack.back().ptr();
    auto old = std::move(m_stack);
    m_stack = std::move(stack);
    for (auto& controller : m_stack)
        controller->setParentViewController(this);

    bool onScreen = appearanceState() == AppearanceState::Appeared;
    bool changed = leaving != coming;
    if (onScreen && changed) {
        if (leaving)
            leaving->beginAppearanceTransition(false, animated);
        if (coming)
            coming->beginAppearanceTransition(true, animated);
    }
    if (isViewLoaded() && changed) {
        if (leaving && leaving->isViewLoaded() && leaving->view().superview() == &view())
            leaving->view().removeFromSuperview();
        if (coming) {
            UIView& shown = coming->view();
            shown.setFrame(contentFrame());
            shown.setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
            view().insertSubviewBelowSubview(shown, m_navigationBar.ptr());
        }
    }
    syncBar();
    if (onScreen && changed) {
        if (leaving)
            leaving->endAppearanceTransition();
        if (coming)
            coming->endAppearanceTransition();
    }
    // Screens that left the stack are no longer ours.
    for (auto& controller : old) {
        if (std::none_of(m_stack.begin(), m_stack.end(), [&](auto& kept) { return kept.ptr() == controller.ptr(); }))
            controller->setParentViewController(nullptr);
    }
}

void UINavigationController::setViewControllers(std::vector<runtime::Ref<UIViewController>> controllers, bool animated)
{
    transition(std::move(controllers), animated);
}

void UINavigationController::pushViewController(runtime::Ref<UIViewController> controller, bool animated)
{
    if (controller->parentViewController() || controller->presentingViewController() || controller.ptr() == this) {
        foundation::logMessage("UINavigationController: " + controller->className() + " is already shown; not pushed");
        return;
    }
    auto stack = m_stack;
    stack.push_back(std::move(controller));
    transition(std::move(stack), animated);
}

runtime::RefPtr<UIViewController> UINavigationController::popViewControllerAnimated(bool animated)
{
    if (m_stack.size() < 2)
        return nullptr;
    runtime::RefPtr<UIViewController> popped = m_stack.back().ptr();
    auto stack = m_stack;
    stack.pop_back();
    transition(std::move(stack), animated);
    return popped;
}

std::vector<runtime::Ref<UIViewController>> UINavigationController::popToRootViewControllerAnimated(bool animated)
{
    if (m_stack.empty())
        return {};
    return popToViewController(m_stack.front(), animated);
}

std::vector<runtime::Ref<UIViewController>> UINavigationController::popToViewController(UIViewController& controller, bool animated)
{
    auto found = std::find_if(m_stack.begin(), m_stack.end(), [&](auto& entry) { return entry.ptr() == &controller; });
    if (found == m_stack.end())
        return {};
    std::vector<runtime::Ref<UIViewController>> popped(found + 1, m_stack.end());
    std::vector<runtime::Ref<UIViewController>> stack(m_stack.begin(), found + 1);
    transition(std::move(stack), animated);
    return popped;
}

void UINavigationController::setNavigationBarHidden(bool hidden, bool)
{
    m_navigationBarHidden = hidden;
    m_navigationBar->setHidden(hidden);
    if (isViewLoaded()) {
        if (auto* top = topViewController(); top && top->isViewLoaded())
            top->view().setFrame(contentFrame());
    }
}

void UINavigationController::containerDidMoveToWindow(bool inWindow)
{
    if (inWindow && appearanceState() == AppearanceState::Disappeared) {
        beginAppearanceTransition(true, false);
        endAppearanceTransition();
    } else if (!inWindow && appearanceState() == AppearanceState::Appeared) {
        beginAppearanceTransition(false, false);
        endAppearanceTransition();
    }
}

}
