#include <uikit/UIWindow.h>

#include <foundation/NSSet.h>
#include <uikit/UIApplication.h>
#include <uikit/UIEvent.h>
#include <uikit/UITouch.h>
#include <uikit/ViewRendering.h>

namespace uikit {

TORVANE_DEFINE_CLASS(UIWindow)
TORVANE_ARCHIVABLE_CLASS(UIWindow, UIWindow::create(CGRectZero))

runtime::Ref<UIWindow> UIWindow::create(CGRect frame)
{
    return runtime::adoptRef(*new UIWindow(frame));
}

UIWindow::UIWindow(CGRect frame)
    : UIView(frame)
{
    // Windows start hidden, as in UIKit, until made visible.
    setHidden(true);
}

UIWindow::~UIWindow() = default;

void UIWindow::makeKeyAndVisible()
{
    setHidden(false);
    UIApplication::sharedApplication().windowDidBecomeVisible(*this);
    makeKeyWindow();
}

void UIWindow::makeKeyWindow()
{
    UIApplication::sharedApplication().setKeyWindow(this);
}

bool UIWindow::isKeyWindow() const
{
    return UIApplication::sharedApplication().keyWindow() == this;
}

UIView* UIWindow::touchedView() const
{
    return m_touch ? m_touch->view() : nullptr;
}

UIView* UIWindow::injectTouch(UITouchPhase phase, CGPoint location)
{
    runtime::Ref<UIWindow> protect(*this);
    if (phase == UITouchPhaseBegan) {
        if (m_touch)
            injectTouch(UITouchPhaseCancelled, m_touch->locationInView(nullptr));
        layoutIfNeeded();
        UIView* hit = hitTest(location, nullptr);
        m_touch = UITouch::create(*this, hit, location);
    } else {
        if (!m_touch)
            return nullptr;
        m_touch->update(phase, location);
    }

    runtime::Ref<UITouch> touch = *m_touch;
    if (phase == UITouchPhaseEnded || phase == UITouchPhaseCancelled)
        m_touch = nullptr;
    auto event = UIEvent::create(foundation::NSSet::create({ touch }));
    sendEvent(event);
    return touch->view();
}

void UIWindow::sendEvent(UIEvent& event)
{
    for (auto& object : event.allTouches()) {
        auto touch = runtime::dynamicCast<UITouch>(object);
        if (!touch)
            continue;
        runtime::RefPtr<UIView> view = touch->view();
        // A touch whose view has left this window goes nowhere.
        if (!view || view->window() != this)
            continue;
        auto touches = event.touchesForView(view.get());
        switch (touch->phase()) {
        case UITouchPhaseBegan:
            view->touchesBegan(touches, &event);
            break;
        case UITouchPhaseMoved:
        case UITouchPhaseStationary:
            view->touchesMoved(touches, &event);
            break;
        case UITouchPhaseEnded:
            view->touchesEnded(touches, &event);
            break;
        case UITouchPhaseCancelled:
            view->touchesCancelled(touches, &event);
            break;
        }
    }
}

graphics::CGImage UIWindow::renderImage(CGFloat scale)
{
    return renderViewToImage(*this, scale);
}

}
