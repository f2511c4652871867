#pragma once

// The SpringBoard requests of the driver's control channel (the scenario language's SpringBoard
// commands, plus dump and screenshot), registered on a ControlServer. Each answers {"ok":true,...}
// or refuses with an error naming what was wrong.

namespace hosts {
class ControlServer;
}

namespace springboard {
class SpringBoard;
}

namespace springboard::host {

void registerSpringBoardCommands(hosts::ControlServer&, SpringBoard&);

}
