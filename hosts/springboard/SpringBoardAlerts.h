#pragma once

// SpringBoard's alerts as the driver sees them, read from the screen's view tree: every alert view
// on screen, bottom to top, and the quick-killer popup, which is an alert holding a list of the
// running applications. Each row of that list is read as VoiceOver reads a table cell: its
// accessibility label (the application's name), value (its memory) and identifier (its bundle
// identifier).

#include <sim/protocol/Json.h>

#include <string>
#include <string_view>

namespace springboard::host {

// [ { "class", "title", "message", "buttons" } ... ].
sim::protocol::Json visibleAlerts();
// { "title", "rows": [ { "name", "id", "memory" } ], "buttons" }, or null when no alert on screen
// holds a list.
sim::protocol::Json quickKillerPopup();
// Taps, with a finger, the button of the topmost alert titled `title`; throws a ControlError when
// there is none or something covers it.
void tapAlertButton(const std::string& title);
// Taps the Kill button of the popup's row named `applicationName`, scrolling the list to it first;
// throws a ControlError saying why when there is no popup, no such row, or the button cannot be
// touched (yet).
void killPopupRow(const std::string& applicationName);

}
