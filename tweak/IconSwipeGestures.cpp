#include "IconSwipeGestures.h"

#include "CustomPassAlertViewTQ.h"
#include "GlowImageView.h"
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

CGPoint IconSwipeGestures::pointOf(springboard::SBIconView& iconView, const foundation::NSSet& touches)
{
    auto any = touches.anyObject();
    auto* touch = runtime::dynamicCast<uikit::UITouch>(any.get());
    return touch ? touch->locationInView(&iconView) : CGPoint {};
}

void IconSwipeGestures::touchBegan(springboard::SBIconView& iconView, const foundation::NSSet& touches)
{
    g_startPoint = pointOf(iconView, touches);
    g_attemptMade = false;
}

void IconSwipeGestures::touchMoved(springboard::SBIconView& iconView, const foundation::NSSet& touches)
{
    if (g_attemptMade)
        return;
    CGPoint current = pointOf(iconView, touches);
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
    // Only an attempt that did something spends the touch: a first twitch the wrong way (up on an
    // application that is not running, down on an icon without a badge) leaves the swipe to come.
    g_attemptMade = attempt == Attempt::Kill ? attemptToKillNow(iconView) : attemptToRemoveBadge(iconView);
}

void IconSwipeGestures::endOrLogFailure(const foundation::NSArray* identifiers)
{
    if (!SavedSwipeSettings::superFinallyKillTheseApps(identifiers))
        foundation::NSLog("Torvane: Error! Could not kill app(s).");
}

bool IconSwipeGestures::attemptToKillNow(springboard::SBIconView& iconView)
{
    if (iconsAreBeingEdited())
        return false;
    auto* icon = iconView.icon();
    if (!icon)
        return false;

    auto oneElementList = [](const std::string& identifier) { return foundation::NSArray::create({ NSStr(identifier) }); };

    if (switcherBarIsShowing()) {
        // The bar ends whatever it shows: no confirmation, no indicator and no disabled list here.
        if (!SavedSwipeSettings::getDashmereOnAppSwitcher())
            return false;
        endOrLogFailure(oneElementList(icon->leafIdentifier()).ptr());
        return true;
    }

    // Home screen, dock and folders: only where the indicator shows (never-ended and disabled
    // applications get none, nor do idle ones or dock icons under DisableOnDock).
    runtime::RefPtr<GlowImageView> indicator = GlowImageView::indicatorOf(iconView);
    if (!indicator || indicator->alpha() <= 0)
        return false;

    auto name = NSStr(icon->displayName());

    if (icon->isFolderIcon()) {
        auto* folder = icon->folder();
        auto contained = folder ? folder->containedNodeIdentifiers()->allObjects() : foundation::NSArray::create();
        auto identifiers = SavedSwipeSettings::removeAllDisabledAppsFromArray(contained.ptr());
        if (!SavedSwipeSettings::getConfirmationAtHome()) {
            endOrLogFailure(identifiers.ptr());
            return true;
        }
        CustomPassAlertViewTQ::confirmEndingFolder(name, identifiers, indicator.releaseNonNull());
        return true;
    }

    auto* application = icon->application();
    if (!application || !application->isRunning())
        return false;
    auto identifier = NSStr(icon->leafIdentifier());
    if (SavedSwipeSettings::isThisAppDisabled(identifier.ptr()))
        return false;
    if (!SavedSwipeSettings::getConfirmationAtHome()) {
        endOrLogFailure(oneElementList(identifier->string()).ptr());
        return true;
    }
    CustomPassAlertViewTQ::confirmEndingApplication(name, identifier, application->pid());
    return true;
}

bool IconSwipeGestures::attemptToRemoveBadge(springboard::SBIconView& iconView)
{
    if (!SavedSwipeSettings::getClearBadgeEnabled() || iconsAreBeingEdited())
        return false;
    auto* icon = iconView.icon();
    if (!icon || switcherBarIsShowing() || icon->badgeValue() == 0)
        return false;
    if (!SavedSwipeSettings::getAlertToClearBadge()) {
        icon->setBadge(nullptr);
        return true;
    }
    CustomPassAlertViewTQ::confirmClearingBadge(NSStr(icon->displayName()), *icon);
    return true;
}

}
