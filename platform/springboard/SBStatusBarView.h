#pragma once

// The 20-point status bar over the top of the home screen: carrier and signal on the left, the time in the middle, the battery on the right, white on translucent black.
// While the device is locked a small padlock takes the time's place, since the lock screen shows the time in its big clock.

#include <uikit/UIView.h>

namespace springboard {

class SBStatusBarView : public uikit::UIView {
    TORVANE_OBJECT(SBStatusBarView, uikit::UIView)
public:
    static runtime::Ref<SBStatusBarView> create(uikit::CGRect frame);

    bool showsLock() const { return m_showsLock; }
    void setShowsLock(bool showsLock);

    void drawRect(uikit::CGRect rect) override;

protected:
    explicit SBStatusBarView(uikit::CGRect frame);

private:
    bool m_showsLock { false };
};

}
