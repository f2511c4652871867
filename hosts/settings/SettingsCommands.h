#pragma once

#include <preferences/SettingsApplication.h>
#include <hosts/common/ControlServer.h>
#include <sim/protocol/Command.h>
#include <sim/protocol/Json.h>

namespace preferences::host {

// The requests the driver sends the Settings application: `dump`, `screenshot PATH` and the
// `settings ...` commands. Each verb acts through the controls a user would touch (rows, switches,
// the slider, bar buttons) and is refused with a ControlError saying why when the screen shown
// cannot take it.
void registerSettingsCommands(hosts::ControlServer&, SettingsApplication&);

// One `settings ...` request, already checked against the command table; throws ControlError when
// the verb cannot apply to what the screen shows.
sim::protocol::Json runSettingsCommand(SettingsApplication&, const sim::protocol::Command&);

}
