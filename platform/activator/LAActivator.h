#pragma once

#include <activator/LAEvent.h>
#include <activator/LAListener.h>
#include <foundation/Forward.h>
#include <runtime/Object.h>

#include <concepts>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace activator {

// The event library: listeners register under a name in the process that hosts them, the user
// assigns events to listener names, and a fired event goes to the listener assigned to it.
//
// Assignments are device-wide and live in a property-list file (assignmentsPath), read afresh on
// every look-up, so an assignment made by another process (the driver's `activator assign`) is
// seen at once. Each event has at most one listener; assigning it again replaces the previous one.
//
// Listeners are held strongly from registration until they are unregistered: a listener usually
// has no other owner (the add-on keeps its own for life, but a listener made only to register
// would otherwise die at once). Registering a second listener under a taken name replaces the
// first. Main thread only.
class LAActivator final : public runtime::Object {
    TORVANE_OBJECT(LAActivator, runtime::Object)
public:
    static constexpr std::string_view assignmentsPath = "/var/mobile/Library/Preferences/libactivator.plist";
    // The library counts as installed when this file exists; clients check it before using it.
    static constexpr std::string_view libraryPath = "/Library/MobileSubstrate/DynamicLibraries/Activator.dylib";
    static bool isInstalled();

    static LAActivator& sharedInstance();

    // A listener is a runtime object implementing LAListener.
    template<typename T>
        requires std::derived_from<T, runtime::Object> && std::derived_from<T, LAListener>
    void registerListener(T& listener, std::string_view name)
    {
        registerListener(runtime::Ref<runtime::Object>(listener), listener, name);
    }
    // `owner` is the object to keep alive; `listener` is the same object seen as a listener.
    void registerListener(runtime::Ref<runtime::Object> owner, LAListener& listener, std::string_view name);
    void unregisterListener(std::string_view name);
    bool hasListenerWithName(std::string_view name) const;
    // Registered names in sorted order.
    std::vector<std::string> listenerNames() const;

    // The listener name assigned to the event; nil when none is.
    runtime::RefPtr<foundation::NSString> assignedListenerNameForEvent(const LAEvent& event) const;
    runtime::RefPtr<foundation::NSString> assignedListenerNameForEvent(std::string_view eventName) const;
    // Stores the assignment in the device file; false when it could not be written.
    bool assignEvent(std::string_view eventName, std::string_view listenerName);
    bool unassignEvent(std::string_view eventName);

    // Delivers the event to the listener assigned to it, if that listener is registered in this
    // process. True when a listener received it (whether it handled it is the event's to tell).
    bool sendEventToListener(LAEvent& event);
    // Fires an event by name, as the system does when the gesture happens; the returned event
    // tells whether a listener handled it.
    runtime::Ref<LAEvent> sendEvent(std::string_view eventName, std::string_view mode = LAEventModeSpringBoard);
    // Tells the assigned listener that the event is taken back. True when a listener was told.
    bool sendAbortEventToListener(LAEvent& event);

    // The listener's own metadata; nil for unknown names and for listeners that give none.
    runtime::RefPtr<foundation::NSString> localizedTitleForListenerName(std::string_view name);
    runtime::RefPtr<foundation::NSString> localizedDescriptionForListenerName(std::string_view name);
    runtime::RefPtr<foundation::NSData> smallIconDataForListenerName(std::string_view name, float scale = 1);

private:
    LAActivator() = default;

    struct Registration {
        runtime::Ref<runtime::Object> owner;
        LAListener* listener;
    };
    // A copy that keeps the listener alive while it is being called, even if it unregisters.
    std::optional<Registration> registrationFor(std::string_view name) const;
    enum class Delivery { Receive, Abort };
    bool deliver(LAEvent& event, Delivery);

    std::map<std::string, Registration, std::less<>> m_listeners;
};

}
