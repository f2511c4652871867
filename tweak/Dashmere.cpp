#include "Dashmere.h"

#include "AddOnNotifications.h"
#include "Hooks.h"
#include "PreviewCapture.h"
#include "SavedSwipeSettings.h"
#include "SharedNames.h"

#include <foundation/DiagnosticReports.h>
#include <foundation/NSArray.h>
#include <foundation/NSBundle.h>
#include <foundation/NSLog.h>
#include <foundation/NSNotificationCenter.h>
#include <foundation/NSString.h>
#include <notify/CFNotificationCenter.h>

namespace tweak {

void reloadDMRSettings(notify::DarwinNotifyCenter*, void*, std::string_view, const void*, const foundation::NSDictionary*)
{
    SavedSwipeSettings::loadReloadAllDMRSettings();
    foundation::NSNotificationCenter::defaultCenter().postNotificationName(AddOnNotification::settingsReloaded);
}

void saveNewPreviewImage(notify::DarwinNotifyCenter*, void*, std::string_view, const void*, const foundation::NSDictionary*)
{
    PreviewCapture::saveNewPreviewImage();
}

}

__attribute__((constructor)) void Dashmere_initializer()
{
    using namespace tweak;

    // Substrate filters decide which processes load the library; whatever they say, the add-on
    // only ever acts inside SpringBoard.
    if (foundation::NSBundle::mainBundle().bundleIdentifier() != "com.apple.springboard")
        return;

    SavedSwipeSettings::discardOutdatedSettingsFile();
    foundation::NSLog("Torvane %@ Loaded into SpringBoard", foundation::NSStr(torvane::version));
    SavedSwipeSettings::loadReloadAllDMRSettings();
    SavedSwipeSettings::initialSetupCalled();

    auto* darwin = notify::CFNotificationCenterGetDarwinNotifyCenter();
    notify::CFNotificationCenterAddObserver(darwin, nullptr, reloadDMRSettings, torvane::DarwinNotification::reloadSettings,
        nullptr, notify::CFNotificationSuspensionBehaviorCoalesce);
    notify::CFNotificationCenterAddObserver(darwin, nullptr, saveNewPreviewImage, torvane::DarwinNotification::newPreview,
        nullptr, notify::CFNotificationSuspensionBehaviorCoalesce);

    installHooks();

    // The running-applications list as the add-on holds it, for whoever inspects the process.
    static foundation::ObserverToken runningReport = foundation::DiagnosticReports::registerReport("runningApplications",
        [] { return runtime::RefPtr<runtime::Object>(SavedSwipeSettings::allRunningApplications().ptr()); });
}
