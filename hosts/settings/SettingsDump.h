#pragma once

#include <preferences/SettingsApplication.h>
#include <sim/protocol/Json.h>

namespace preferences::host {

// The `settings` dump: the screen stack, every row of the top screen (all of them, scrolled into
// view one by one), its sections, alerts, sheets, progress HUD and Reload button.
//
// A row's "detail" is the text of a UILabel the screen added to the cell as a direct subview;
// without one, the detailTextLabel's text when it is not empty; otherwise null.
sim::protocol::Json settingsDump(SettingsApplication&);

}
