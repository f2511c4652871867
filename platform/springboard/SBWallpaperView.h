#pragma once

// The home screen's wallpaper: a deep blue-to-teal gradient with a soft light from the upper left.

#include <uikit/UIView.h>

namespace springboard {

class SBWallpaperView : public uikit::UIView {
    TORVANE_OBJECT(SBWallpaperView, uikit::UIView)
public:
    static runtime::Ref<SBWallpaperView> create(uikit::CGRect frame);

    void drawRect(uikit::CGRect rect) override;

protected:
    explicit SBWallpaperView(uikit::CGRect frame);
};

}
