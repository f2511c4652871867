#pragma once

#include <preferences/SettingsApplication.h>
#include <hosts/common/ControlServer.h>
#include <sim/protocol/Command.h>
#include <sim/protocol/Json.h>

namespace preferences::host {

// The requests the driver sends the Settings application: `dump`, `screenshot PATH` and the
// `settings ...` commands, `scroll settings up|down`, and `tap` and `drag` on this screen. Each verb
// acts as a finger on the controls a user would touch (rows, switches, the slider, bar buttons),
// through the screen's hit test (hosts::TouchScreen), scrolling a list by dragging it to bring a
// row into view; it is refused with a ControlError saying why when the screen shown cannot take it
// (a row out of reach, or something covering the control).
void registerSettingsCommands(hosts::ControlServer&, SettingsApplication&);

// One `settings ...` request, already checked against the command table; throws ControlError when
// the verb cannot apply to what the screen shows.
sim::protocol::Json runSettingsCommand(SettingsApplication&, const sim::protocol::Command&);

}
