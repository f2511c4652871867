#pragma once

// `frame SINCE PATH [SCALE]`: a picture of the screen, SCALE pixels a point (default 2), only when it
// changed. The host numbers what its screen shows: the number moves whenever a layer's geometry, looks, content or tree changes, and
// with every request while an animation runs. When it still equals SINCE the answer is
// {"changed": false, "generation": G} and nothing is drawn; otherwise the screen is drawn to a PNG
// at the host path PATH and the answer is {"changed": true, "generation": G}. SINCE 0 always draws.

namespace hosts {

class ControlServer;

void serveScreenFrames(ControlServer&);

}
