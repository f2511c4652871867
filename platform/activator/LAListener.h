#pragma once

#include <foundation/NSData.h>
#include <foundation/NSString.h>
#include <runtime/RefPtr.h>

#include <string>

namespace activator {

class LAActivator;
class LAEvent;

// What a listener implements. Receiving events is required; the rest is optional, and the
// metadata operations answer nil unless a listener has something to show.
//
// Listeners must also be runtime objects (see LAActivator::registerListener), so the library can
// keep them alive.
class LAListener {
public:
    virtual ~LAListener() = default;

    // The event assigned to this listener fired. Mark it handled when acting on it.
    virtual void activatorReceiveEvent(LAActivator& activator, LAEvent& event, const std::string& listenerName) = 0;
    // An event that was delivered earlier is being taken back (the gesture was cancelled, another
    // event took over): a listener that showed something for it should hide it.
    virtual void activatorAbortEvent(LAActivator&, LAEvent&, const std::string& /*listenerName*/) { }

    // Metadata shown where the user assigns events.
    virtual runtime::RefPtr<foundation::NSString> activatorRequiresLocalizedTitleForListenerName(LAActivator&,
        const std::string& /*listenerName*/)
    {
        return nullptr;
    }
    virtual runtime::RefPtr<foundation::NSString> activatorRequiresLocalizedDescriptionForListenerName(LAActivator&,
        const std::string& /*listenerName*/)
    {
        return nullptr;
    }
    // PNG data of a small icon; `scale` is the screen scale the icon will be drawn at.
    virtual runtime::RefPtr<foundation::NSData> activatorRequiresSmallIconDataForListenerNameScale(LAActivator&,
        const std::string& /*listenerName*/, float /*scale*/)
    {
        return nullptr;
    }
};

}
