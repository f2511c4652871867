#include <uikit/UIAlertViewStack.h>

#include <graphics/ColorSpace.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIApplication.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIScreen.h>
#include <uikit/UITouch.h>
#include <uikit/UIWindow.h>

#include <algorithm>

namespace uikit {

namespace {

// The shade behind an alert: dark at the edges, lighter around the middle where the alert sits.
class AlertDimmingView final : public UIView {
    TORVANE_OBJECT(AlertDimmingView, UIView)
public:
    static runtime::Ref<AlertDimmingView> create(CGRect frame) { return runtime::adoptRef(*new AlertDimmingView(frame)); }

    void drawRect(CGRect rect) override
    {
        auto c = UIGraphicsGetCurrentContext();
        const CGFloat components[] = { 0, 0, 0, 0.25f, 0, 0, 0, 0.62f };
        const CGFloat locations[] = { 0, 1 };
        auto gradient = graphics::CGGradientCreateWithColorComponents(graphics::CGColorSpaceCreateDeviceRGB(), components, locations, 2);
        CGPoint centre { CGRectGetMidX(rect), CGRectGetMidY(rect) };
        graphics::CGContextDrawRadialGradient(c, gradient, centre, 0, centre, rect.size.height * 0.6f,
            graphics::kCGGradientDrawsAfterEndLocation);
    }

private:
    explicit AlertDimmingView(CGRect frame)
        : UIView(frame)
    {
        setBackgroundColor(UIColor::clearColor());
        setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    }
};

TORVANE_DEFINE_CLASS(AlertDimmingView)

}

UIAlertViewStack& UIAlertViewStack::shared()
{
    // Never destroyed: alerts may still be shown while the process exits.
    static auto* stack = new UIAlertViewStack;
    return *stack;
}

UIWindow& UIAlertViewStack::window()
{
    if (!m_window) {
        CGRect screen = UIScreen::mainScreen().bounds();
        m_window = UIWindow::create(screen);
        m_window->setWindowLevel(UIWindowLevelAlert);
        m_window->setBackgroundColor(UIColor::clearColor());
        m_window->addSubview(AlertDimmingView::create(screen));
    }
    return *m_window;
}

void UIAlertViewStack::push(UIAlertView& alert)
{
    remove(alert);
    m_alerts.emplace_back(alert);
    UIWindow& shown = window();
    shown.addSubview(alert);
    updateVisibility();
    if (shown.isHidden()) {
        shown.setHidden(false);
        UIApplication::sharedApplication().windowDidBecomeVisible(shown);
    }
}

void UIAlertViewStack::remove(UIAlertView& alert)
{
    auto found = std::find_if(m_alerts.begin(), m_alerts.end(), [&](auto& entry) { return entry.ptr() == &alert; });
    if (found == m_alerts.end())
        return;
    runtime::Ref<UIAlertView> protect(alert);
    m_alerts.erase(found);
    if (alert.superview() == m_window.get())
        alert.removeFromSuperview();
    alert.setHidden(false);
    updateVisibility();
    if (m_alerts.empty() && m_window && !m_window->isHidden()) {
        m_window->setHidden(true);
        UIApplication::sharedApplication().windowWillGo(*m_window);
    }
}

void UIAlertViewStack::updateVisibility()
{
    for (size_t index = 0; index < m_alerts.size(); ++index)
        m_alerts[index]->setHidden(index + 1 != m_alerts.size());
}

bool UIAlertViewStack::tapView(UIView& view)
{
    runtime::Ref<UIView> protect(view);
    UIWindow* window = view.window();
    if (!window)
        return false;
    runtime::Ref<UIWindow> protectWindow(*window);
    window->layoutIfNeeded();
    // Through the application, in screen coordinates: a window in front (an alert's) takes the
    // finger first, as on a device.
    CGRect bounds = view.bounds();
    CGPoint inWindow = view.convertPointToView({ CGRectGetMidX(bounds), CGRectGetMidY(bounds) }, nullptr);
    CGPoint onScreen { inWindow.x - window->bounds().origin.x + window->frame().origin.x, inWindow.y - window->bounds().origin.y + window->frame().origin.y };
    auto& application = UIApplication::sharedApplication();
    runtime::RefPtr<UIView> touched = application.injectTouch(UITouchPhaseBegan, onScreen);
    bool reached = touched && (touched == &view || touched->isDescendantOfView(&view));
    application.injectTouch(UITouchPhaseEnded, onScreen);
    return reached;
}

}
