#include <preferences/SettingsApplication.h>

#include <uikit/UIScreen.h>

namespace preferences {

TORVANE_DEFINE_CLASS(SettingsApplication)

runtime::Ref<SettingsApplication> SettingsApplication::create()
{
    auto application = runtime::adoptRef(*new SettingsApplication);
    uikit::UIApplication::setSharedApplication(application);
    application->m_window->makeKeyAndVisible();
    return application;
}

SettingsApplication* SettingsApplication::shared()
{
    return runtime::dynamicCast<SettingsApplication>(uikit::UIApplication::existingSharedApplication());
}

SettingsApplication::SettingsApplication()
    : m_window(uikit::UIWindow::create(uikit::UIScreen::mainScreen().bounds()))
    , m_prefsList(PrefsListController::create())
    , m_navigation(uikit::UINavigationController::create(m_prefsList))
{
    m_prefsList->setRootController(m_navigation.ptr());
    m_prefsList->initForContentSize(PSViewController::screenContentSize());
    m_navigation->showInWindow(m_window.get());
}

std::vector<runtime::Ref<uikit::UIViewController>> SettingsApplication::screenStack() const
{
    std::vector<runtime::Ref<uikit::UIViewController>> stack(m_navigation->viewControllers());
    for (auto* modal = m_navigation->modalViewController(); modal; modal = modal->modalViewController()) {
        if (auto* navigation = runtime::dynamicCast<uikit::UINavigationController>(modal)) {
            for (auto& screen : navigation->viewControllers())
                stack.push_back(screen);
        } else {
            stack.push_back(*modal);
        }
    }
    return stack;
}

uikit::UIViewController& SettingsApplication::topScreen() const
{
    auto stack = screenStack();
    // The Settings list is always at the bottom, so the stack is never empty.
    return stack.back().get();
}

void SettingsApplication::resignActive()
{
    enterBackground();
}

void SettingsApplication::becomeActive()
{
    enterForeground();
}

}
