#pragma once

// Internal to uikit: runs pending layout of every visible window at the start of the next run-loop
// turn, so views marked with setNeedsLayout are laid out before anyone sees them, as UIKit does at
// the end of each event.

namespace uikit {

class LayoutScheduler {
public:
    // Cheap to call often: at most one pass is waiting at any time.
    static void scheduleLayoutPass();
    // Lays out every visible window now.
    static void runLayoutPass();
};

}
