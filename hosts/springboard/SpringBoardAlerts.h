#pragma once

// SpringBoard's alerts as the driver sees them: every alert view on screen, bottom to top, and a
// tap on a button of the topmost one.

#include <sim/protocol/Json.h>

#include <string_view>

namespace springboard::host {

// [ { "class", "title", "message", "buttons" } ... ].
sim::protocol::Json visibleAlerts();
// False when no alert shows or the top one has no button with that title.
bool tapAlertButton(std::string_view title);

}
