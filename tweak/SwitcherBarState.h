#pragma once

namespace tweak {

// Whether SpringBoard's app-switcher bar shows: one process-wide flag, set by the switcher bar's
// setHidden: replacement and read by the gestures (a swipe in the bar ends whatever it shows).
bool switcherBarIsShowing();
void setSwitcherBarShowing(bool showing);

}
