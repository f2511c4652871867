#pragma once

// The pane's bundle-wide pieces: the load-time function and the two callbacks that hand the
// companion's Darwin signals to whichever pane screen is on top.

#include <foundation/NSDictionary.h>
#include <notify/CFNotificationCenter.h>

#include <string_view>

// Runs once, when the Settings application loads the bundle.
extern "C" void TorvaneSettingsInitiate();

namespace pane {

// qelvo.nimbrel.apps.loaded: CheckOnAppsTQ to the disabled-applications list, else
// CheckOnAppsTQDel to the root list; dropped while any other screen is on top.
void zappsAllLoaded_Torvane(notify::DarwinNotifyCenter*, void* observer, std::string_view name, const void* object,
    const foundation::NSDictionary* userInfo);
// qelvo.nimbrel.check.on.apps: CheckOnAppLoadingTQ or CheckOnAppLoadingTQDel, the same way.
void zcheckOnApps_Torvane(notify::DarwinNotifyCenter*, void* observer, std::string_view name, const void* object,
    const foundation::NSDictionary* userInfo);

}
