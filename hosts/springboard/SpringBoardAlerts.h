#pragma once

// SpringBoard's alerts as the driver sees them: every alert view on screen, bottom to top, and a
// tap on a button of the topmost one; the add-on's quick-killer popup is one of them.

#include <sim/protocol/Json.h>

#include <string>
#include <string_view>

namespace springboard::host {

// [ { "class", "title", "message", "buttons" } ... ].
sim::protocol::Json visibleAlerts();
// False when no alert shows or the top one has no button with that title.
bool tapAlertButton(std::string_view title);
// Taps the red Kill button of the quick-killer popup's row named `applicationName`; throws a
// ControlError saying why when there is no popup, no such row, or the button takes no touches yet.
void killPopupRow(const std::string& applicationName);

}
