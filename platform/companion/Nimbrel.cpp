// Nimbrel: loaded into SpringBoard by the substrate. In SpringBoard it collects the application
// data once the home screen exists (the first run-loop turn: libraries load before SpringBoard
// builds its model) and again whenever anyone posts qelvo.nmbl.reloadinfo. Anywhere else it does
// nothing.

#include "NimbrelCollector.h"

#include <foundation/NSBundle.h>
#include <foundation/RunLoop.h>
#include <notify/CFNotificationCenter.h>

namespace {

void reloadRequested(notify::DarwinNotifyCenter*, void*, std::string_view, const void*, const foundation::NSDictionary*)
{
    companion::NimbrelCollector::shared().requestCollection();
}

}

extern "C" __attribute__((constructor)) void Nimbrel_initializer()
{
    if (foundation::NSBundle::mainBundle().bundleIdentifier() != "com.apple.springboard")
        return;
    notify::CFNotificationCenterAddObserver(notify::CFNotificationCenterGetDarwinNotifyCenter(), &companion::NimbrelCollector::shared(),
        reloadRequested, CFSTR(companion::NimbrelCollector::reloadNotification), nullptr,
        notify::CFNotificationSuspensionBehaviorDeliverImmediately);
    companion::NimbrelCollector::shared().requestCollection();
}
