#pragma once

// The 20-point status bar over the top of the home screen: carrier and signal on the left, the time in the middle, the battery on the right, white on translucent black.

#include <uikit/UIView.h>

namespace springboard {

class SBStatusBarView : public uikit::UIView {
    TORVANE_OBJECT(SBStatusBarView, uikit::UIView)
public:
    static runtime::Ref<SBStatusBarView> create(uikit::CGRect frame);

    void drawRect(uikit::CGRect rect) override;

protected:
    explicit SBStatusBarView(uikit::CGRect frame);
};

}
