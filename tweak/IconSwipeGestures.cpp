#include "IconSwipeGestures.h"

#include "CustomPassAlertViewTQ.h"
#include "SavedSwipeSettings.h"
#include "SwitcherBarState.h"

#include <foundation/NSArray.h>
#include <foundation/NSLog.h>
#include <foundation/NSMutableArray.h>
#include <foundation/NSSet.h>
#include <foundation/NSString.h>
#include <springboard/SBApplication.h>
#include <springboard/SBFolder.h>
#include <springboard/SBIcon.h>
#include <springboard/SBIconController.h>
#include <springboard/SBIconView.h>
#include <uikit/UIScreen.h>
#include <uikit/UITouch.h>

namespace tweak {

using foundation::NSStr;
using uikit::CGPoint;

namespace {

// Process-wide, main thread only: where the current touch began, and whether it already attempted.
CGPoint g_startPoint {};
bool g_attemptMade = false;

bool iconsAreBeingEdited()
{
    auto* controller = springboard::SBIconController::sharedInstance();
    return controller && controller->isEditing();
}

}

CGPoint IconSwipeGestures::pointOf(runtime::Object* iconView, runtime::Object* touches)
{
    auto* set = runtime::dynamicCast<foundation::NSSet>(touches);
    auto* view = runtime::dynamicCast<uikit::UIView>(iconView);
    auto any = set ? set->anyObject() : nullptr;
    auto* touch = runtime::dynamicCast<uikit::UITouch>(any.get());
    return touch ? touch->locationInView(view) : CGPoint {};
}

void IconSwipeGestures::touchBegan(runtime::Object* iconView, runtime::Object* touches)
{
    if (!runtime::dynamicCast<foundation::NSSet>(touches))
        return;
    g_startPoint = pointOf(iconView, touches);
    g_attemptMade = false;
}

void IconSwipeGestures::touchMoved(runtime::Object* object, runtime::Object* touches)
{
    if (!runtime::dynamicCast<foundation::NSSet>(touches))
        return;
    auto* iconView = runtime::dynamicCast<springboard::SBIconView>(object);
    if (!iconView || g_attemptMade)
        return;
    CGPoint current = pointOf(object, touches);
    float dx = current.x - g_startPoint.x;
    float up = g_startPoint.y - current.y;

    enum class Attempt { None, Kill, Badge } attempt = Attempt::None;
    if (!SavedSwipeSettings::getLowerSensitivity()) {
        // The window takes a move of up to 6 points to the left but less than 6 to the right.
        if (dx >= 6 || dx < -6)
            return;
        if (up > 0) {
            if (!switcherBarIsShowing() || up > 5)
                attempt = Attempt::Kill;
        } else if (up < -4) {
            attempt = Attempt::Badge;
        }
    } else {
        if (dx >= 3 || dx <= -4)
            return;
        if (up > 7)
            attempt = Attempt::Kill;
        else if (up < -7)
            attempt = Attempt::Badge;
    }
    if (attempt == Attempt::None)
        return;
    g_attemptMade = true;
    if (attempt == Attempt::Kill)
        attemptToKillNow(*iconView);
    else
        attemptToRemoveBadge(*iconView);
}

void IconSwipeGestures::endOrLogFailure(const foundation::NSArray* identifiers)
{
    if (!SavedSwipeSettings::superFinallyKillTheseApps(identifiers))
        foundation::NSLog("Torvane: Error! Could not kill app(s).");
}

void IconSwipeGestures::attemptToKillNow(springboard::SBIconView& iconView)
{
    if (iconsAreBeingEdited())
        return;
    auto* icon = iconView.icon();
    if (!icon)
        return;

    auto oneElementList = [](const std::string& identifier) {
        foundation::NSArray::Storage one;
        one.push_back(NSStr(identifier));
        return foundation::NSArray::create(std::move(one));
    };

    if (switcherBarIsShowing()) {
        // The bar ends whatever it shows: no confirmation, no indicator and no disabled list here.
        if (SavedSwipeSettings::getDashmereOnAppSwitcher())
            endOrLogFailure(oneElementList(icon->leafIdentifier()).ptr());
        return;
    }

    // Home screen, dock and folders: only where the indicator shows (never-ended and disabled
    // applications get none, nor do idle ones or dock icons under DisableOnDock).
    runtime::RefPtr<uikit::UIView> indicator = iconView.viewWithTag(indicatorTag);
    if (!indicator || indicator->alpha() <= 0)
        return;

    uikit::CGRect screen = uikit::UIScreen::mainScreen().bounds();
    auto name = NSStr(icon->displayName());

    if (icon->isFolderIcon()) {
        auto* folder = icon->folder();
        auto contained = folder ? folder->containedNodeIdentifiers()->allObjects() : foundation::NSArray::create();
        auto identifiers = SavedSwipeSettings::removeAllDisabledAppsFromArray(contained.ptr());
        if (!SavedSwipeSettings::getConfirmationAtHome()) {
            endOrLogFailure(identifiers.ptr());
            return;
        }
        CustomPassAlertViewTQ::create(screen, name.ptr(), nullptr, 0, identifiers.ptr(), indicator, nullptr);
        return;
    }

    auto* application = icon->application();
    if (!application || application->applicationState() < 2)
        return;
    auto identifier = NSStr(icon->leafIdentifier());
    if (SavedSwipeSettings::isThisAppDisabled(identifier.ptr()))
        return;
    if (!SavedSwipeSettings::getConfirmationAtHome()) {
        endOrLogFailure(oneElementList(identifier->string()).ptr());
        return;
    }
    CustomPassAlertViewTQ::create(screen, name.ptr(), identifier.ptr(), application->pid(), nullptr, nullptr, nullptr);
}

void IconSwipeGestures::attemptToRemoveBadge(springboard::SBIconView& iconView)
{
    if (!SavedSwipeSettings::getClearBadgeEnabled() || iconsAreBeingEdited())
        return;
    auto* icon = iconView.icon();
    if (!icon || switcherBarIsShowing() || icon->badgeValue() == 0)
        return;
    if (!SavedSwipeSettings::getAlertToClearBadge()) {
        icon->setBadge(nullptr);
        return;
    }
    CustomPassAlertViewTQ::create(uikit::UIScreen::mainScreen().bounds(), NSStr(icon->displayName()).ptr(), nullptr, 0,
        nullptr, nullptr, runtime::RefPtr<springboard::SBIcon>(icon));
}

}
