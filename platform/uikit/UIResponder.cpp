#include <uikit/UIResponder.h>

#include <foundation/NSSet.h>

namespace uikit {

TORVANE_DEFINE_CLASS(UIResponder)

void UIResponder::touchesBegan(foundation::NSSet& touches, UIEvent* event)
{
    if (auto next = nextResponder())
        next->touchesBegan(touches, event);
}

void UIResponder::touchesMoved(foundation::NSSet& touches, UIEvent* event)
{
    if (auto next = nextResponder())
        next->touchesMoved(touches, event);
}

void UIResponder::touchesEnded(foundation::NSSet& touches, UIEvent* event)
{
    if (auto next = nextResponder())
        next->touchesEnded(touches, event);
}

void UIResponder::touchesCancelled(foundation::NSSet& touches, UIEvent* event)
{
    if (auto next = nextResponder())
        next->touchesCancelled(touches, event);
}

}
