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
// One attempt per touch: once a move of a touch has attempted a kill or a badge clear, later moves
// of that touch do nothing until the next touch begins, so a long swipe opens one alert and a swipe
// in the switcher bar ends its application once.
class IconSwipeGestures {
public:
    IconSwipeGestures() = delete;

    // Records where the touch began, in the icon view's own coordinates, and re-arms the rule.
    static void touchBegan(springboard::SBIconView& iconView, const foundation::NSSet& touches);
    // Applies the rule to the touch's current point against the recorded start point.
    static void touchMoved(springboard::SBIconView& iconView, const foundation::NSSet& touches);

    // Ends the icon view's application or folder: in the switcher bar at once, elsewhere only where
    // the icon view's indicator shows, after asking when confirmation is on.
    static void attemptToKillNow(springboard::SBIconView& iconView);
    // Clears the icon's badge, after asking when the badge alert is on.
    static void attemptToRemoveBadge(springboard::SBIconView& iconView);

private:
    static uikit::CGPoint pointOf(springboard::SBIconView& iconView, const foundation::NSSet& touches);
    // Hands the list to the ending operation; logs when nothing could be tried.
    static void endOrLogFailure(const foundation::NSArray* identifiers);
};

}
