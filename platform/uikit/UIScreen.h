#pragma once

// The device's screen: 320 x 480 points at scale 2 (640 x 960 pixels), as on an iPhone 4/4S.

#include <runtime/Object.h>
#include <uikit/UIGeometry.h>

namespace uikit {

class UIScreen : public runtime::Object {
    TORVANE_OBJECT(UIScreen, runtime::Object)
public:
    static UIScreen& mainScreen();

    CGRect bounds() const { return { { 0, 0 }, { 320, 480 } }; }
    // The bounds less the 20-point status bar at the top.
    CGRect applicationFrame() const { return { { 0, 20 }, { 320, 460 } }; }
    CGFloat scale() const { return 2; }

private:
    UIScreen() = default;
};

}
