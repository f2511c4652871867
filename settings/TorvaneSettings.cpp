#include "TorvaneSettings.h"

#include "DashmereDelegate.h"
#include "NeverShowApplicationsController.h"
#include "PaneNames.h"
#include "SharedNames.h"

#include <foundation/NSLog.h>
#include <foundation/NSNotificationCenter.h>
#include <foundation/NSString.h>
#include <preferences/SettingsApplication.h>
#include <uikit/UIApplication.h>

#include <vector>

namespace pane {

namespace {

// The screen the user sees: a modal screen (the theme chooser) counts as on top, so a signal that
// arrives while it shows reaches neither list.
uikit::UIViewController* screenOnTop()
{
    auto* application = preferences::SettingsApplication::shared();
    return application ? application->rootController().visibleViewController() : nullptr;
}

void routeToTopScreen(const char* forList, const char* forRoot)
{
    auto* top = screenOnTop();
    if (!top)
        return;
    auto& center = foundation::NSNotificationCenter::defaultCenter();
    if (top->isKindOf<NeverShowApplicationsController>())
        center.postNotificationName(forList);
    else if (top->isKindOf<DashmereDelegate>())
        center.postNotificationName(forRoot);
}

}

void zappsAllLoaded_Torvane(notify::DarwinNotifyCenter*, void*, std::string_view, const void*, const foundation::NSDictionary*)
{
    routeToTopScreen(checkOnAppsList, checkOnAppsRoot);
}

void zcheckOnApps_Torvane(notify::DarwinNotifyCenter*, void*, std::string_view, const void*, const foundation::NSDictionary*)
{
    routeToTopScreen(checkOnAppLoadingList, checkOnAppLoadingRoot);
}

}

extern "C" void TorvaneSettingsInitiate()
{
    foundation::NSLog("Torvane %@ Loaded in Settings", foundation::NSStr(torvane::version));

    // These registrations last as long as the Settings process, so their tokens are never let go.
    static auto* leavingObservers = new std::vector<foundation::ObserverToken>;
    auto& center = foundation::NSNotificationCenter::defaultCenter();
    for (const char* name : { uikit::UIApplicationWillResignActiveNotification, uikit::UIApplicationDidEnterBackgroundNotification })
        leavingObservers->push_back(center.addObserver(name, nullptr, [](foundation::NSNotification&) { pane::DashmereDelegate::popAllControllersDMR(); }));

    auto* darwin = notify::CFNotificationCenterGetDarwinNotifyCenter();
    notify::CFNotificationCenterAddObserver(darwin, nullptr, pane::zappsAllLoaded_Torvane, pane::companionAppsLoaded, nullptr,
        notify::CFNotificationSuspensionBehaviorDeliverImmediately);
    notify::CFNotificationCenterAddObserver(darwin, nullptr, pane::zcheckOnApps_Torvane, pane::companionCheckOnApps, nullptr,
        notify::CFNotificationSuspensionBehaviorDeliverImmediately);
}

__attribute__((constructor)) static void loadTorvaneSettings()
{
    TorvaneSettingsInitiate();
}
