#pragma once

#include <activator/LAListener.h>
#include <foundation/ObserverToken.h>
#include <runtime/Object.h>

#include <string_view>

namespace tweak {

// The quick killer's listener for the Activator library. Start-up makes exactly one, registers it
// under listenerName and keeps it for the life of SpringBoard.
//
// For now an event is only logged and marked handled; the popup that lists the running
// applications is not built yet, so killTheAlertNow has nothing to close.
class TorvaneActivatorSetup final : public runtime::Object, public activator::LAListener {
    TORVANE_OBJECT(TorvaneActivatorSetup, runtime::Object)
public:
    static constexpr std::string_view listenerName = "com.qelvo.torvane.activator.openapps";
    static constexpr std::string_view listenerTitle = "Torvane Quick Killer";
    static constexpr std::string_view listenerDescription = "Popup shows open apps, RAM use, and kill options";
    static constexpr std::string_view listenerIconPath = "/System/Library/PreferenceBundles/TorvaneSettings.bundle/TorvaneIcon.png";

    // Observes TorvaneKillActivatorAlertNow (posted when the device locks or an application comes
    // to the front) until this object is released.
    static runtime::Ref<TorvaneActivatorSetup> create();

    void activatorReceiveEvent(activator::LAActivator&, activator::LAEvent&, const std::string& listenerName) override;
    runtime::RefPtr<foundation::NSString> activatorRequiresLocalizedTitleForListenerName(activator::LAActivator&,
        const std::string& listenerName) override;
    runtime::RefPtr<foundation::NSString> activatorRequiresLocalizedDescriptionForListenerName(activator::LAActivator&,
        const std::string& listenerName) override;
    // The icon file's PNG bytes for our listener name; the scale is not used (one icon serves all).
    runtime::RefPtr<foundation::NSData> activatorRequiresSmallIconDataForListenerNameScale(activator::LAActivator&,
        const std::string& listenerName, float scale) override;

    // Closes the popup without ending anything.
    void killTheAlertNow();

    float totalRAMBeingUsed() const { return m_totalRAMBeingUsed; }

private:
    TorvaneActivatorSetup();

    foundation::ObserverToken m_killAlertObserver;
    float m_totalRAMBeingUsed { 0 };
};

}
