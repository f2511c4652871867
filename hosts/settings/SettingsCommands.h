#pragma once

#include <preferences/SettingsApplication.h>
#include <hosts/common/ControlServer.h>

namespace preferences::host {

// The requests the driver sends the Settings application: `dump`, `screenshot PATH` and the
// `settings ...` commands. Panes add their own `settings` verbs as they arrive; until a pane is
// open, verbs that need one are refused with a clear error.
void registerSettingsCommands(hosts::ControlServer&, SettingsApplication&);

}
