// Nimbrel: loaded into SpringBoard by the substrate. In SpringBoard it collects the application
// data once the home screen exists (the first run-loop turn: libraries load before SpringBoard
// builds its model) and again whenever anyone posts qelvo.nmbl.reloadinfo. Anywhere else it does
// nothing.

#include "NimbrelCollector.h"

#include <foundation/NSBundle.h>
#include <foundation/RunLoop.h>
#include <notify/CFNotificationCenter.h>

#include <cstdlib>

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
    // A simulated device may pace the collection so its stages can be watched on the virtual clock.
    if (const char* pace = std::getenv("TORVANE_COMPANION_STAGE_SECONDS")) {
        char* end = nullptr;
        double seconds = std::strtod(pace, &end);
        if (end != pace && seconds > 0 && seconds <= 60)
            companion::NimbrelCollector::shared().setStageInterval(foundation::Seconds(seconds));
    }
    notify::CFNotificationCenterAddObserver(notify::CFNotificationCenterGetDarwinNotifyCenter(), &companion::NimbrelCollector::shared(),
        reloadRequested, CFSTR(companion::NimbrelCollector::reloadNotification), nullptr,
        notify::CFNotificationSuspensionBehaviorDeliverImmediately);
    companion::NimbrelCollector::shared().requestCollection();
}
