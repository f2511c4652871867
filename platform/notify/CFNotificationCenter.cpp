#include <notify/CFNotificationCenter.h>

namespace notify {

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter()
{
    return &DarwinNotifyCenter::shared();
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer, CFNotificationCallback callback,
    CFStringRef name, const void*, CFNotificationSuspensionBehavior)
{
    if (center)
        center->addObserver(const_cast<void*>(observer), callback, name);
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer, CFStringRef name, const void*)
{
    if (center)
        center->removeObserver(const_cast<void*>(observer), name);
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer)
{
    if (center)
        center->removeEveryObserver(const_cast<void*>(observer));
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name, const void*, CFDictionaryRef, bool)
{
    if (center)
        center->post(name);
}

}
