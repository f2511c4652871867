#pragma once

// The base of everything that receives touches. The touch methods are virtual so subclasses can
// override them (and hosts can route them through a class's method table); by default each passes
// the touches on to the next responder, as UIKit's responder chain does.

#include <runtime/Object.h>
#include <uikit/Forward.h>

namespace uikit {

class UIResponder : public runtime::Object {
    TORVANE_OBJECT(UIResponder, runtime::Object)
public:
    // The next responder in the chain (a view's superview); nullptr at the end.
    virtual UIResponder* nextResponder() const { return nullptr; }

    virtual void touchesBegan(foundation::NSSet& touches, UIEvent* event);
    virtual void touchesMoved(foundation::NSSet& touches, UIEvent* event);
    virtual void touchesEnded(foundation::NSSet& touches, UIEvent* event);
    virtual void touchesCancelled(foundation::NSSet& touches, UIEvent* event);

    virtual bool canBecomeFirstResponder() const { return false; }

protected:
    UIResponder() = default;
};

}
