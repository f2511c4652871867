#pragma once

#include <notify/DarwinNotifyCenter.h>

#include <string_view>

// The CoreFoundation face of Darwin notifications, as product code calls it on the device.
// Only the Darwin centre exists here. Names are string views (CFSTR("...") makes one); object
// and userInfo are ignored, as the Darwin centre ignores them.
#define CFSTR(text) std::string_view(text)

namespace notify {

using CFNotificationCenterRef = DarwinNotifyCenter*;
using CFStringRef = std::string_view;
using CFDictionaryRef = const foundation::NSDictionary*;
using CFNotificationCallback = DarwinNotificationCallback;

// Accepted for the device's signature; every delivery may be coalesced, none is held back.
enum CFNotificationSuspensionBehavior {
    CFNotificationSuspensionBehaviorDrop = 1,
    CFNotificationSuspensionBehaviorCoalesce = 2,
    CFNotificationSuspensionBehaviorHold = 3,
    CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer, CFNotificationCallback callback,
    CFStringRef name, const void* object, CFNotificationSuspensionBehavior suspensionBehavior);
// An empty name removes the observer's registrations for every name.
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer, CFStringRef name, const void* object);
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name, const void* object,
    CFDictionaryRef userInfo, bool deliverImmediately);

}
