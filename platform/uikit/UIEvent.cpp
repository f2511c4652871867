#include <uikit/UIEvent.h>

#include <uikit/UITouch.h>

namespace uikit {

TORVANE_DEFINE_CLASS(UIEvent)

runtime::Ref<UIEvent> UIEvent::create(runtime::Ref<foundation::NSSet> touches)
{
    return runtime::adoptRef(*new UIEvent(std::move(touches)));
}

runtime::Ref<foundation::NSSet> UIEvent::touchesForView(const UIView* view) const
{
    foundation::NSSet::Storage matching;
    for (auto& object : m_touches.get()) {
        auto touch = runtime::dynamicCast<UITouch>(object);
        if (touch && touch->view() == view)
            matching.push_back(object);
    }
    return foundation::NSSet::create(matching);
}

}
