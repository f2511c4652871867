#pragma once

#include <foundation/ObserverToken.h>

namespace hosts {

// The lifetime rules every host process of a simulated device follows: it dies with its parent
// (the driver), and SIGTERM or SIGINT end its main run loop in an orderly way, so that it can end
// what it started. SIGPIPE is ignored: a driver that went away must not kill a host mid-answer.
class HostLifetime {
public:
    // Call first in main(). False when the parent is already gone (the host should exit).
    static bool bindToParent();
    // Makes SIGTERM and SIGINT stop RunLoop::main(); the token keeps the watch.
    static foundation::ObserverToken stopRunLoopOnSignals();
};

}
