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
void openAFolder(runtime::Object* self, runtime::Selector, runtime::Object* folder, bool animated);
void setAppState(runtime::Object* self, runtime::Selector, int state);
// The two touch replacements then hand the touches to the swipe rule (IconSwipeGestures).
void touchesMovedIcon(runtime::Object* self, runtime::Selector, runtime::Object* touches, runtime::Object* event);
void touchesBeganIcon(runtime::Object* self, runtime::Selector, runtime::Object* touches, runtime::Object* event);
runtime::Object* getIconViews(runtime::Object* self, runtime::Selector, runtime::Object* icon);
void setSwitcherBarHidden(runtime::Object* self, runtime::Selector, bool hidden);
// Locking and any application coming to the front close every open confirmation alert
// (TorvaneSuicide) and then the quick-killer popup (TorvaneKillActivatorAlertNow), before
// SpringBoard's own operation runs.
void deviceIsLocking(runtime::Object* self, runtime::Selector);
void phoneCallComing(runtime::Object* self, runtime::Selector);

}
