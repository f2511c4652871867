#include "Hooks.h"

#include "AddOnNotifications.h"
#include "GlowImageView.h"
#include "IconSwipeGestures.h"
#include "SavedSwipeSettings.h"
#include "SwitcherBarState.h"

#include <foundation/NSDictionary.h>
#include <foundation/NSMutableArray.h>
#include <foundation/NSNotificationCenter.h>
#include <foundation/NSNumber.h>
#include <foundation/NSSet.h>
#include <foundation/NSString.h>
#include <runtime/Class.h>
#include <springboard/HookedOperations.h>
#include <springboard/SBApplication.h>
#include <springboard/SBIcon.h>
#include <springboard/SBIconView.h>
#include <substrate/Hook.h>

#include <type_traits>

namespace tweak {

using runtime::Object;
using runtime::Selector;

namespace {

// SpringBoard's own implementations, handed back by the hooks. Set once at start-up, before any
// replacement can run. A class SpringBoard lacks leaves its slot empty, and the replacement then
// has nothing to call through to.
springboard::OpenFolderIMP g_openFolder;
springboard::SetApplicationStateIMP g_setApplicationState;
springboard::TouchesIMP g_touchesMoved;
springboard::TouchesIMP g_touchesBegan;
springboard::MappedIconViewIMP g_mappedIconView;
springboard::SetHiddenIMP g_setHidden;
springboard::LockIMP g_lock;
springboard::WillActivateIMP g_willActivate;

template<typename R, typename... Args>
void hook(const char* className, const runtime::Operation<R(Args...)>& operation,
    typename runtime::Operation<R(Args...)>::Implementation replacement, typename runtime::Operation<R(Args...)>::Implementation* original)
{
    MSHookMessageEx(runtime::NSClassFromString(className), operation, replacement, original);
}

template<typename R, typename... Args>
R callThrough(runtime::Implementation<R, Args...> original, Object* self, Selector selector, std::type_identity_t<Args>... args)
{
    if (!original) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R {};
    }
    return original(self, selector, args...);
}

// The touch hooks' arguments arrive untyped; the swipe rule gets them typed, or not at all.
void handToGesture(Object* self, Object* touches, void (*gestureStep)(springboard::SBIconView&, const foundation::NSSet&))
{
    auto* iconView = runtime::dynamicCast<springboard::SBIconView>(self);
    auto* touchSet = runtime::dynamicCast<foundation::NSSet>(touches);
    if (iconView && touchSet)
        gestureStep(*iconView, *touchSet);
}

void postClosingNotifications()
{
    auto& center = foundation::NSNotificationCenter::defaultCenter();
    center.postNotificationName(AddOnNotification::closeConfirmationAlerts);
    center.postNotificationName(AddOnNotification::closeQuickKillerPopup);
}

}

void openAFolder(Object* self, Selector selector, Object* folder, bool animated)
{
    callThrough(g_openFolder, self, selector, folder, animated);
    foundation::NSNotificationCenter::defaultCenter().postNotificationName(AddOnNotification::folderOpened, folder);
}

void setAppState(Object* self, Selector selector, int state)
{
    callThrough(g_setApplicationState, self, selector, state);
    auto* application = runtime::dynamicCast<springboard::SBApplication>(self);
    if (!application)
        return;
    auto identifier = foundation::NSString::create(application->bundleIdentifier());
    bool fadeIn = springboard::SBApplication::isRunningState(state);
    if (fadeIn) {
        SavedSwipeSettings::writeToFolderArray(identifier.ptr());
        // Indicators are hidden while the switcher bar shows; hiding the bar checks them all.
        if (switcherBarIsShowing())
            return;
    } else {
        SavedSwipeSettings::removeFromFolderArray(identifier.ptr());
    }
    foundation::NSDictionary::Storage entries;
    entries.emplace(AddOnNotification::bundleIdentifierKey, identifier);
    entries.emplace(AddOnNotification::fadeInKey, foundation::NSNumber::numberWithBool(fadeIn));
    auto change = foundation::NSDictionary::create(std::move(entries));
    foundation::NSNotificationCenter::defaultCenter().postNotificationName(AddOnNotification::applicationStateChanged, change);
}

void touchesMovedIcon(Object* self, Selector selector, Object* touches, Object* event)
{
    callThrough(g_touchesMoved, self, selector, touches, event);
    handToGesture(self, touches, IconSwipeGestures::touchMoved);
}

void touchesBeganIcon(Object* self, Selector selector, Object* touches, Object* event)
{
    callThrough(g_touchesBegan, self, selector, touches, event);
    handToGesture(self, touches, IconSwipeGestures::touchBegan);
}

Object* getIconViews(Object* self, Selector selector, Object* icon)
{
    Object* result = callThrough(g_mappedIconView, self, selector, icon);
    auto* view = runtime::dynamicCast<springboard::SBIconView>(result);
    if (!view)
        return result;
    if (auto* indicator = GlowImageView::indicatorOf(*view)) {
        indicator->reloadImageInfoWithNewIconView(view);
        return result;
    }
    auto* mappedIcon = view->icon();
    if (!mappedIcon)
        return result;
    if (!mappedIcon->isFolderIcon()
        && SavedSwipeSettings::isThisAppDisabled(foundation::NSString::create(mappedIcon->leafIdentifier()).ptr()))
        return result;

    // Hidden until its next check: the next mapping, a state change, a switcher change or a
    // settings reload.
    auto indicator = GlowImageView::initWithFrameWithIconIsFolder(GlowImageView::themeFrame(), view, mappedIcon->isFolderIcon());
    indicator->setImage(GlowImageView::themeImage());
    indicator->setTag(GlowImageView::indicatorTag);
    indicator->setSwitcherIsVisible(switcherBarIsShowing());
    view->insertSubviewAtIndex(std::move(indicator), 0);
    return result;
}

void setSwitcherBarHidden(Object* self, Selector selector, bool hidden)
{
    // The argument equal to the flag means the bar is changing: hiding while it shows, or the
    // other way round.
    if (hidden == switcherBarIsShowing())
        foundation::NSNotificationCenter::defaultCenter().postNotificationName(AddOnNotification::switcherBarChanged, foundation::NSNumber::numberWithBool(!hidden));
    setSwitcherBarIsShowing(!hidden);
    callThrough(g_setHidden, self, selector, hidden);
}

void deviceIsLocking(Object* self, Selector selector)
{
    postClosingNotifications();
    callThrough(g_lock, self, selector);
}

void phoneCallComing(Object* self, Selector selector)
{
    postClosingNotifications();
    callThrough(g_willActivate, self, selector);
}

void installHooks()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;

    hook("SBIconController", springboard::openFolderOperation, openAFolder, &g_openFolder);
    hook("SBApplication", springboard::setApplicationStateOperation, setAppState, &g_setApplicationState);
    hook("SBIconView", springboard::touchesMovedOperation, touchesMovedIcon, &g_touchesMoved);
    hook("SBIconView", springboard::touchesBeganOperation, touchesBeganIcon, &g_touchesBegan);
    hook("SBIconViewMap", springboard::mappedIconViewOperation, getIconViews, &g_mappedIconView);
    hook("SBShowcaseController", springboard::setHiddenOperation, setSwitcherBarHidden, &g_setHidden);
    hook("SBAwayController", springboard::lockOperation, deviceIsLocking, &g_lock);
    hook("SBApplication", springboard::willActivateOperation, phoneCallComing, &g_willActivate);
}

}
