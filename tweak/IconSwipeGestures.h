#pragma once

#include <runtime/Object.h>
#include <foundation/Forward.h>
#include <springboard/Forward.h>
#include <uikit/UIGeometry.h>

namespace tweak {

// The swipe rule on icon views: a finger moved up ends the application (on a folder icon, the
// folder's running applications), moved down clears the badge. The touch-began and touch-moved
// replacements call SpringBoard's own implementation first and then decide; the two attempts act.
//
// One attempt per touch: once a move of a touch has acted (opened an alert, ended applications or
// cleared a badge), later moves of that touch do nothing until the next touch begins, so a long
// swipe opens one alert and a swipe in the switcher bar ends its application once. An attempt that
// found nothing to do leaves the touch free; every move is measured from where the touch began.
class IconSwipeGestures {
public:
    IconSwipeGestures() = delete;

    // Records where the touch began, in the icon view's own coordinates, and re-arms the rule.
    static void touchBegan(springboard::SBIconView& iconView, const foundation::NSSet& touches);
    // Applies the rule to the touch's current point against the recorded start point.
    static void touchMoved(springboard::SBIconView& iconView, const foundation::NSSet& touches);

    // Ends the icon view's application or folder: in the switcher bar at once, elsewhere only where
    // the icon view's indicator shows, after asking when confirmation is on. YES when it asked or
    // handed applications to the ending operation.
    static bool attemptToKillNow(springboard::SBIconView& iconView);
    // Clears the icon's badge, after asking when the badge alert is on. YES when it asked or cleared.
    static bool attemptToRemoveBadge(springboard::SBIconView& iconView);

private:
    static uikit::CGPoint pointOf(springboard::SBIconView& iconView, const foundation::NSSet& touches);
    // Hands the list to the ending operation; logs when nothing could be tried.
    static void endOrLogFailure(const foundation::NSArray* identifiers);
};

}
