#pragma once

#include <runtime/Object.h>

namespace tweak {

// Replaces the eight SpringBoard operations the add-on works through (the class looked up by
// name, then MSHookMessageEx), in this order: SBIconController openFolder:animated:, SBApplication
// setApplicationState:, SBIconView touchesMoved:withEvent: and touchesBegan:withEvent:,
// SBIconViewMap mappedIconViewForIcon:, SBShowcaseController setHidden:, SBAwayController lock,
// SBApplication willActivate. Installs once per process; later calls do nothing, since hooking a
// replacement over itself would make it call itself.
void installHooks();

// The replacements. Each calls SpringBoard's own implementation with the arguments unchanged.

// After SpringBoard opens the folder: TorvaneAnimateOutForOpenFolder with the folder, so the
// indicators outside it hide.
void openAFolder(runtime::Object* self, runtime::Selector, runtime::Object* folder, bool animated);
// After the change: keeps the running-applications list and posts DashmereUpdateVisibility
// {BundleID, ToFadeIn}; a start while the switcher bar shows is recorded without a post.
void setAppState(runtime::Object* self, runtime::Selector, int state);
// The two touch replacements then hand the touches to the swipe rule (IconSwipeGestures).
void touchesMovedIcon(runtime::Object* self, runtime::Selector, runtime::Object* touches, runtime::Object* event);
void touchesBeganIcon(runtime::Object* self, runtime::Selector, runtime::Object* touches, runtime::Object* event);
// After SpringBoard maps the view: gives it its indicator (none for a disabled or never-ended
// application), or lets the indicator it has check itself again.
runtime::Object* getIconViews(runtime::Object* self, runtime::Selector, runtime::Object* icon);
// Before SpringBoard shows or hides the bar: records it and, on a change, posts
// DashmereHideAllViews (YES when the bar now shows).
void setSwitcherBarHidden(runtime::Object* self, runtime::Selector, bool hidden);
// Locking and any application coming to the front close every open confirmation alert
// (TorvaneSuicide) and then the quick-killer popup (TorvaneKillActivatorAlertNow), before
// SpringBoard's own operation runs.
void deviceIsLocking(runtime::Object* self, runtime::Selector);
void phoneCallComing(runtime::Object* self, runtime::Selector);

}
