#pragma once

// One finger on the screen. Locations are kept in window coordinates and converted on request.

#include <foundation/Seconds.h>
#include <runtime/Object.h>
#include <runtime/WeakPtr.h>
#include <uikit/Forward.h>
#include <uikit/UIGeometry.h>

namespace uikit {

enum UITouchPhase : int {
    UITouchPhaseBegan = 0,
    UITouchPhaseMoved = 1,
    UITouchPhaseStationary = 2,
    UITouchPhaseEnded = 3,
    UITouchPhaseCancelled = 4,
};

class UITouch : public runtime::Object {
    TORVANE_OBJECT(UITouch, runtime::Object)
public:
    static runtime::Ref<UITouch> create(UIWindow& window, UIView* view, CGPoint locationInWindow);

    UITouchPhase phase() const { return m_phase; }
    UIView* view() const;
    UIWindow* window() const;
    unsigned tapCount() const { return 1; }
    // Time of the latest change, on the main run loop's clock.
    foundation::MonotonicTime timestamp() const { return m_timestamp; }

    // In the coordinates of `view`; nullptr means the window's.
    CGPoint locationInView(const UIView* view) const;
    CGPoint previousLocationInView(const UIView* view) const;

    // Used by the window as the finger moves.
    void update(UITouchPhase phase, CGPoint locationInWindow);

private:
    UITouch(UIWindow& window, UIView* view, CGPoint location);
    CGPoint convert(CGPoint windowPoint, const UIView* view) const;

    runtime::WeakPtr<UIWindow> m_window;
    runtime::WeakPtr<UIView> m_view;
    CGPoint m_location;
    CGPoint m_previousLocation;
    UITouchPhase m_phase { UITouchPhaseBegan };
    foundation::MonotonicTime m_timestamp;
};

}
