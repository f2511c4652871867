#pragma once

// The commands that put a bare finger on a host's screen, whichever process it is:
//   tap PROCESS X Y                          one touch at a screen point
//   drag PROCESS X1 Y1 X2 Y2 [seconds S]     a finger drawn along a line (TouchScreen::drag)
// Both answer {"touched": class of the view the touch began on, or null}; drag adds "elapsed", the
// virtual time it let pass, which the driver lets pass in the other processes too.

#include <sim/protocol/Json.h>

namespace uikit {
class UIView;
}

namespace hosts {

class ControlServer;

void serveTouchCommands(ControlServer&);

sim::protocol::Json touchAnswer(const uikit::UIView* touched);
sim::protocol::Json dragAnswer(const uikit::UIView* touched, double elapsedSeconds);

}
