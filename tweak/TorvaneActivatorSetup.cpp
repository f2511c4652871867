#include "TorvaneActivatorSetup.h"

#include <activator/LAEvent.h>
#include <foundation/NSData.h>
#include <foundation/NSLog.h>
#include <foundation/NSNotificationCenter.h>
#include <foundation/NSString.h>

namespace tweak {

using foundation::NSStr;
using runtime::RefPtr;

TORVANE_DEFINE_CLASS(TorvaneActivatorSetup)

runtime::Ref<TorvaneActivatorSetup> TorvaneActivatorSetup::create()
{
    return runtime::adoptRef(*new TorvaneActivatorSetup);
}

TorvaneActivatorSetup::TorvaneActivatorSetup()
{
    // The token lives in this object, so the observer goes when the listener does.
    m_killAlertObserver = foundation::NSNotificationCenter::defaultCenter().addObserver("TorvaneKillActivatorAlertNow", nullptr,
        [this](foundation::NSNotification&) { killTheAlertNow(); });
}

void TorvaneActivatorSetup::activatorReceiveEvent(activator::LAActivator&, activator::LAEvent& event, const std::string&)
{
    foundation::NSLog("Torvane: Quick Killer event %s", event.name());
    event.setHandled(true);
}

RefPtr<foundation::NSString> TorvaneActivatorSetup::activatorRequiresLocalizedTitleForListenerName(activator::LAActivator&,
    const std::string& name)
{
    return name == listenerName ? RefPtr<foundation::NSString>(NSStr(listenerTitle)) : nullptr;
}

RefPtr<foundation::NSString> TorvaneActivatorSetup::activatorRequiresLocalizedDescriptionForListenerName(activator::LAActivator&,
    const std::string& name)
{
    return name == listenerName ? RefPtr<foundation::NSString>(NSStr(listenerDescription)) : nullptr;
}

RefPtr<foundation::NSData> TorvaneActivatorSetup::activatorRequiresSmallIconDataForListenerNameScale(activator::LAActivator&,
    const std::string& name, float)
{
    if (name != listenerName)
        return nullptr;
    return foundation::NSData::dataWithContentsOfFile(listenerIconPath);
}

void TorvaneActivatorSetup::killTheAlertNow()
{
    // No popup exists yet, so there is nothing to close.
}

}
