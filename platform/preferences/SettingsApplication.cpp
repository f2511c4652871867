#include <preferences/SettingsApplication.h>

#include <foundation/NSNotificationCenter.h>
#include <uikit/UIApplication.h>
#include <uikit/UIScreen.h>

namespace preferences {

TORVANE_DEFINE_CLASS(SettingsApplication)

runtime::Ref<SettingsApplication> SettingsApplication::create()
{
    return runtime::adoptRef(*new SettingsApplication);
}

SettingsApplication::SettingsApplication()
    : m_window(uikit::UIWindow::create(uikit::UIScreen::mainScreen().bounds()))
    , m_root(uikit::UIViewController::create())
    , m_navigation(uikit::UINavigationController::create(m_root))
{
    m_root->setTitle(std::string("Settings"));
    m_navigation->showInWindow(m_window.get());
    m_window->makeKeyAndVisible();
}

std::vector<runtime::Ref<uikit::UIViewController>> SettingsApplication::paneStack() const
{
    std::vector<runtime::Ref<uikit::UIViewController>> stack;
    for (auto& controller : m_navigation->viewControllers()) {
        if (controller.ptr() != m_root.ptr())
            stack.push_back(controller);
    }
    for (auto* modal = m_navigation->modalViewController(); modal; modal = modal->modalViewController())
        stack.push_back(*modal);
    return stack;
}

void SettingsApplication::resignActive()
{
    auto& center = foundation::NSNotificationCenter::defaultCenter();
    center.postNotificationName(uikit::UIApplicationWillResignActiveNotification);
    center.postNotificationName(uikit::UIApplicationDidEnterBackgroundNotification);
}

}
