#include <uikit/UIViewController.h>

#include <foundation/NSLog.h>
#include <uikit/UINavigationController.h>
#include <uikit/UIOptionalOperations.h>
#include <uikit/UIScreen.h>
#include <uikit/UIView.h>
#include <uikit/UIWindow.h>

namespace uikit {

TORVANE_DEFINE_CLASS_WITH_METHODS(UIViewController, [](runtime::Class& cls) {
    // Spelled out in full: inside the class's own definition the bare names are its member functions.
    namespace methods = ViewControllerMethods;
    registerOptional(cls, { methods::view, methods::navigationItem, methods::navigationController, methods::parentViewController,
                              methods::title, methods::setTitle, methods::viewWillAppear, methods::viewDidAppear,
                              methods::viewWillDisappear, methods::viewDidDisappear, methods::presentModalViewController,
                              methods::dismissModalViewController });
})

runtime::Ref<UIViewController> UIViewController::create()
{
    return runtime::adoptRef(*new UIViewController);
}

UIViewController::UIViewController() = default;

UIViewController::~UIViewController() = default;

UIView& UIViewController::view()
{
    if (!m_view) {
        loadView();
        if (!m_view)
            m_view = UIView::create({ {}, UIScreen::mainScreen().applicationFrame().size });
        viewDidLoad();
    }
    return *m_view;
}

void UIViewController::setView(runtime::RefPtr<UIView> view)
{
    m_view = std::move(view);
}

void UIViewController::loadView()
{
    m_view = UIView::create(UIScreen::mainScreen().applicationFrame());
}

void UIViewController::setTitle(std::optional<std::string> title)
{
    m_title = title;
    navigationItem().setTitle(std::move(title));
}

UINavigationItem& UIViewController::navigationItem()
{
    if (!m_navigationItem)
        m_navigationItem = UINavigationItem::create(m_title);
    return *m_navigationItem;
}

UINavigationController* UIViewController::navigationController() const
{
    for (UIViewController* ancestor = m_parent.get(); ancestor; ancestor = ancestor->m_parent.get()) {
        if (auto* navigation = runtime::dynamicCast<UINavigationController>(ancestor))
            return navigation;
    }
    return nullptr;
}

// --- Appearance ----------------------------------------------------------------------------------

void UIViewController::beginAppearanceTransition(bool appearing, bool animated)
{
    runtime::Ref<UIViewController> protect(*this);
    if (appearing) {
        if (m_appearance == AppearanceState::Appeared || m_appearance == AppearanceState::Appearing)
            return;
        m_appearance = AppearanceState::Appearing;
        m_transitionAnimated = animated;
        viewWillAppear(animated);
    } else {
        if (m_appearance == AppearanceState::Disappeared || m_appearance == AppearanceState::Disappearing)
            return;
        m_appearance = AppearanceState::Disappearing;
        m_transitionAnimated = animated;
        viewWillDisappear(animated);
    }
    if (auto* child = appearanceChild())
        child->beginAppearanceTransition(appearing, animated);
}

void UIViewController::endAppearanceTransition()
{
    runtime::Ref<UIViewController> protect(*this);
    if (m_appearance == AppearanceState::Appearing) {
        m_appearance = AppearanceState::Appeared;
        viewDidAppear(m_transitionAnimated);
    } else if (m_appearance == AppearanceState::Disappearing) {
        m_appearance = AppearanceState::Disappeared;
        viewDidDisappear(m_transitionAnimated);
    } else {
        return;
    }
    if (auto* child = appearanceChild())
        child->endAppearanceTransition();
}

void UIViewController::showInWindow(UIWindow& window)
{
    runtime::Ref<UIViewController> protect(*this);
    UIView& shown = view();
    shown.setFrame(window.bounds());
    beginAppearanceTransition(true, false);
    window.addSubview(shown);
    endAppearanceTransition();
}

// --- Modal presentation --------------------------------------------------------------------------

UIViewController& UIViewController::outermostPresenter()
{
    UIViewController* presenter = this;
    while (presenter->m_parent)
        presenter = presenter->m_parent.get();
    while (presenter->m_modal)
        presenter = presenter->m_modal.get();
    return *presenter;
}

void UIViewController::presentModalViewController(runtime::Ref<UIViewController> controller, bool animated)
{
    runtime::Ref<UIViewController> protect(*this);
    UIViewController& presenter = outermostPresenter();
    if (&presenter == controller.ptr() || controller->m_presenting || controller->m_parent) {
        foundation::logMessage("UIViewController: " + controller->className() + " is already shown; not presented again");
        return;
    }
    runtime::Ref<UIViewController> protectPresenter(presenter);
    presenter.m_modal = controller;
    controller->m_presenting = presenter;

    UIView& base = presenter.view();
    UIView* container = base.superview();
    UIView& covering = controller->view();
    covering.setFrame(container ? base.frame() : base.bounds());

    bool onScreen = presenter.m_appearance == AppearanceState::Appeared || presenter.m_appearance == AppearanceState::Appearing;
    if (onScreen) {
        presenter.beginAppearanceTransition(false, animated);
        controller->beginAppearanceTransition(true, animated);
    }
    (container ? *container : base).addSubview(covering);
    if (container)
        base.setHidden(true);
    if (onScreen) {
        presenter.endAppearanceTransition();
        controller->endAppearanceTransition();
    }
}

void UIViewController::dismissModalViewControllerAnimated(bool animated)
{
    runtime::Ref<UIViewController> protect(*this);
    if (m_modal) {
        dismissPresented(animated);
        return;
    }
    if (auto presenting = m_presenting.strong()) {
        presenting->dismissPresented(animated);
        return;
    }
    // A screen inside a container: the presentation, if any, was made by the container.
    if (auto parent = m_parent.strong())
        parent->dismissModalViewControllerAnimated(animated);
}

void UIViewController::dismissPresented(bool animated)
{
    runtime::RefPtr<UIViewController> modal = m_modal;
    if (!modal)
        return;
    runtime::Ref<UIViewController> protect(*this);
    if (modal->m_modal)
        modal->dismissPresented(false);

    bool onScreen = modal->m_appearance == AppearanceState::Appeared || modal->m_appearance == AppearanceState::Appearing;
    if (onScreen) {
        modal->beginAppearanceTransition(false, animated);
        beginAppearanceTransition(true, animated);
    }
    if (modal->isViewLoaded())
        modal->view().removeFromSuperview();
    if (isViewLoaded())
        view().setHidden(false);
    m_modal = nullptr;
    modal->m_presenting = nullptr;
    if (onScreen) {
        modal->endAppearanceTransition();
        endAppearanceTransition();
    }
}

}
