#pragma once

// The commands that put a bare finger on a host's screen, whichever process it is:
//   tap PROCESS X Y                          one touch at a screen point
//   drag PROCESS X1 Y1 X2 Y2 [seconds S]     a finger drawn along a line (TouchScreen::drag)
//   finger began|moved|ended X Y             one phase of a finger a person moves by hand (the
//                                            live viewer): each phase as it happens, no time passes
// tap and drag answer {"touched": class of the view the touch began on, or null}; drag adds
// "elapsed", the virtual time it let pass, which the driver lets pass in the other processes too.
// `finger began` adds "chain": the touched view and its superviews up to the window, each
// {"class", "label"}, so whoever records the touch can tell an icon from the screen around it.

#include "ViewHierarchy.h"

#include <sim/protocol/Json.h>

namespace uikit {
class UIView;
}

namespace hosts {

class ControlServer;

// `labeller` names the host's own views in a finger's chain (an icon view by its icon's name).
void serveTouchCommands(ControlServer&, AccessibilityLabeller labeller = {});

sim::protocol::Json touchAnswer(const uikit::UIView* touched);
sim::protocol::Json dragAnswer(const uikit::UIView* touched, double elapsedSeconds);

}
