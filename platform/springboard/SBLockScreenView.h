#pragma once

// What covers the screen while the device is locked: the darkened wallpaper, the clock and date in a glassy bar at the top, and the "slide to unlock" track at the bottom. It takes every touch, so nothing under it can be touched.

#include <uikit/UIView.h>

namespace springboard {

class SBLockScreenView : public uikit::UIView {
    TORVANE_OBJECT(SBLockScreenView, uikit::UIView)
public:
    static runtime::Ref<SBLockScreenView> create(uikit::CGRect frame);

    void drawRect(uikit::CGRect rect) override;

protected:
    explicit SBLockScreenView(uikit::CGRect frame);
};

}
