#include <uikit/UIApplication.h>

#include <foundation/NSDictionary.h>
#include <foundation/NSNotificationCenter.h>
#include <foundation/NSNumber.h>
#include <graphics/Context.h>
#include <uikit/UITouch.h>
#include <uikit/UIWindow.h>
#include <uikit/ViewRendering.h>

#include <algorithm>
#include <cmath>

namespace uikit {

TORVANE_DEFINE_CLASS(UIApplication)

namespace {

runtime::RefPtr<UIApplication>& installedApplication()
{
    static runtime::RefPtr<UIApplication> application;
    return application;
}

}

runtime::Ref<UIApplication> UIApplication::create()
{
    return runtime::adoptRef(*new UIApplication);
}

UIApplication& UIApplication::sharedApplication()
{
    auto& application = installedApplication();
    if (!application)
        application = create();
    return *application;
}

UIApplication* UIApplication::existingSharedApplication()
{
    return installedApplication().get();
}

bool UIApplication::setSharedApplication(runtime::Ref<UIApplication> application)
{
    auto& installed = installedApplication();
    if (installed)
        return false;
    installed = std::move(application);
    return true;
}

std::vector<UIWindow*> UIApplication::windows() const
{
    std::vector<UIWindow*> visible;
    for (auto& window : m_windows) {
        if (UIWindow* live = window.get(); live && !live->isHidden())
            visible.push_back(live);
    }
    // Stable: windows of one level keep the order they were shown in.
    std::stable_sort(visible.begin(), visible.end(), [](UIWindow* a, UIWindow* b) { return a->windowLevel() < b->windowLevel(); });
    return visible;
}

void UIApplication::windowDidBecomeVisible(UIWindow& window)
{
    std::erase_if(m_windows, [&](auto& entry) { return !entry.get() || entry.get() == &window; });
    m_windows.emplace_back(window);
}

void UIApplication::windowWillGo(UIWindow& window)
{
    std::erase_if(m_windows, [&](auto& entry) { return !entry.get() || entry.get() == &window; });
}

void UIApplication::setKeyWindow(UIWindow* window)
{
    m_keyWindow = window;
}

void UIApplication::setStatusBarOrientation(UIInterfaceOrientation orientation, bool)
{
    if (orientation == m_statusBarOrientation)
        return;
    runtime::Ref<UIApplication> protect(*this);
    auto& center = foundation::NSNotificationCenter::defaultCenter();
    center.postNotificationName(UIApplicationWillChangeStatusBarOrientationNotification, this,
        foundation::NSDictionary::create({ { UIApplicationStatusBarOrientationUserInfoKey, foundation::NSNumber::numberWithInt(orientation) } }));
    UIInterfaceOrientation old = m_statusBarOrientation;
    m_statusBarOrientation = orientation;
    center.postNotificationName(UIApplicationDidChangeStatusBarOrientationNotification, this,
        foundation::NSDictionary::create({ { UIApplicationStatusBarOrientationUserInfoKey, foundation::NSNumber::numberWithInt(old) } }));
}

void UIApplication::enterBackground()
{
    if (m_state == UIApplicationState::Background)
        return;
    runtime::Ref<UIApplication> protect(*this);
    auto& center = foundation::NSNotificationCenter::defaultCenter();
    m_state = UIApplicationState::Inactive;
    center.postNotificationName(UIApplicationWillResignActiveNotification, this);
    m_state = UIApplicationState::Background;
    center.postNotificationName(UIApplicationDidEnterBackgroundNotification, this);
}

void UIApplication::enterForeground()
{
    if (m_state == UIApplicationState::Active)
        return;
    runtime::Ref<UIApplication> protect(*this);
    auto& center = foundation::NSNotificationCenter::defaultCenter();
    m_state = UIApplicationState::Inactive;
    center.postNotificationName(UIApplicationWillEnterForegroundNotification, this);
    m_state = UIApplicationState::Active;
    center.postNotificationName(UIApplicationDidBecomeActiveNotification, this);
}

graphics::CGImage UIApplication::renderScreen(CGFloat scale)
{
    CGRect screen { {}, { 320, 480 } };
    auto context = graphics::CGBitmapContextCreate(static_cast<int>(std::ceil(screen.size.width * scale)),
        static_cast<int>(std::ceil(screen.size.height * scale)), scale);
    if (!context)
        return {};
    graphics::CGContextSetGrayFillColor(context, 0, 1);
    graphics::CGContextFillRect(context, screen);
    std::vector<runtime::Ref<UIWindow>> visible;
    for (UIWindow* window : windows())
        visible.emplace_back(*window);
    for (auto& window : visible) {
        window->layoutIfNeeded();
        // The layer draws itself at its frame, which for a window is in screen coordinates.
        window->layer().renderInContext(context);
    }
    return graphics::CGBitmapContextCreateImage(context);
}

UIView* UIApplication::injectTouch(UITouchPhase phase, CGPoint screenLocation)
{
    if (phase == UITouchPhaseBegan) {
        m_touchWindow = nullptr;
        auto visible = windows();
        for (auto it = visible.rbegin(); it != visible.rend(); ++it) {
            UIWindow* window = *it;
            CGRect frame = window->frame();
            CGPoint origin = window->bounds().origin;
            CGPoint local { screenLocation.x - frame.origin.x + origin.x, screenLocation.y - frame.origin.y + origin.y };
            window->layoutIfNeeded();
            if (window->hitTest(local, nullptr)) {
                m_touchWindow = window;
                break;
            }
        }
    }
    UIWindow* window = m_touchWindow.get();
    if (!window)
        return nullptr;
    CGRect frame = window->frame();
    CGPoint origin = window->bounds().origin;
    CGPoint local { screenLocation.x - frame.origin.x + origin.x, screenLocation.y - frame.origin.y + origin.y };
    UIView* view = window->injectTouch(phase, local);
    if (phase == UITouchPhaseEnded || phase == UITouchPhaseCancelled)
        m_touchWindow = nullptr;
    return view;
}

}
