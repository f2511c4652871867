#pragma once

// The `springboard` dump of the driver's contract: switcher, lock, editing and open-folder state,
// the add-on's running-applications list, every icon with its place, badge, application state,
// process and indicator, the switcher bar's icons in order, the alerts on screen and the quick
// killer's popup.

#include <sim/protocol/Json.h>

namespace springboard {
class SpringBoard;
}

namespace springboard::host {

sim::protocol::Json dumpSpringBoard(SpringBoard&);

// The view tag the add-on gives its running-application indicator.
inline constexpr int indicatorTag = 567;

}
