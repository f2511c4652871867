#pragma once

namespace tweak {

// Whether SpringBoard's app-switcher bar shows, as the switcher hook last saw it (NO until the bar
// first changes). Process-wide: indicators start hidden while it shows, and a swipe in the bar
// follows the bar's own rules.
bool switcherBarIsShowing();
void setSwitcherBarIsShowing(bool showing);

}
