#pragma once

// A touch event: the touches that belong to it.

#include <foundation/NSSet.h>
#include <runtime/Object.h>
#include <uikit/Forward.h>

namespace uikit {

enum UIEventType : int {
    UIEventTypeTouches = 0,
    UIEventTypeMotion = 1,
    UIEventTypeRemoteControl = 2,
};

class UIEvent : public runtime::Object {
    TORVANE_OBJECT(UIEvent, runtime::Object)
public:
    static runtime::Ref<UIEvent> create(runtime::Ref<foundation::NSSet> touches);

    UIEventType type() const { return UIEventTypeTouches; }
    foundation::NSSet& allTouches() const { return m_touches.get(); }
    // The touches whose view is `view`.
    runtime::Ref<foundation::NSSet> touchesForView(const UIView* view) const;

private:
    explicit UIEvent(runtime::Ref<foundation::NSSet> touches)
        : m_touches(std::move(touches))
    {
    }

    runtime::Ref<foundation::NSSet> m_touches;
};

}
