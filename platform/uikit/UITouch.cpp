#include <uikit/UITouch.h>

#include <foundation/RunLoop.h>
#include <uikit/UIWindow.h>

namespace uikit {

TORVANE_DEFINE_CLASS(UITouch)

runtime::Ref<UITouch> UITouch::create(UIWindow& window, UIView* view, CGPoint locationInWindow)
{
    return runtime::adoptRef(*new UITouch(window, view, locationInWindow));
}

UITouch::UITouch(UIWindow& window, UIView* view, CGPoint location)
    : m_window(window)
    , m_view(view)
    , m_location(location)
    , m_previousLocation(location)
    , m_timestamp(foundation::RunLoop::main().now())
{
}

UIView* UITouch::view() const
{
    return m_view.get();
}

UIWindow* UITouch::window() const
{
    return m_window.get();
}

void UITouch::update(UITouchPhase phase, CGPoint locationInWindow)
{
    m_phase = phase;
    m_previousLocation = m_location;
    m_location = locationInWindow;
    m_timestamp = foundation::RunLoop::main().now();
}

CGPoint UITouch::convert(CGPoint windowPoint, const UIView* view) const
{
    UIWindow* window = m_window.get();
    if (!view || !window)
        return windowPoint;
    return view->convertPointFromView(windowPoint, window);
}

CGPoint UITouch::locationInView(const UIView* view) const
{
    return convert(m_location, view);
}

CGPoint UITouch::previousLocationInView(const UIView* view) const
{
    return convert(m_previousLocation, view);
}

}
