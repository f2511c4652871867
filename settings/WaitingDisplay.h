#pragma once

// The waiting display shown while the companion collects application data again: a progress HUD
// with a stage label and a progress bar, moved on by the companion's six stage signals. The root
// list and the disabled-applications list both show it; each owns its three views.

#include <runtime/RefPtr.h>
#include <uikit/UILabel.h>
#include <uikit/UIProgressHUD.h>
#include <uikit/UIProgressView.h>
#include <uikit/UIView.h>

#include <cstdint>

namespace pane {

struct WaitingDisplay {
    runtime::RefPtr<uikit::UIProgressHUD> waitHud;
    runtime::RefPtr<uikit::UIProgressView> loadingView;
    runtime::RefPtr<uikit::UILabel> loadingLabel;

    // Makes the three views and shows them in `view`.
    void showInView(uikit::UIView& view);
    // Stage `count` (1 to 6) sets the bar and the text; any other count changes nothing.
    void showStage(int32_t count);
    // done, removed and released; nothing happens when none is shown.
    void finish();
};

}
