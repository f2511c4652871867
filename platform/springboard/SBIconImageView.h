#pragma once

#include <uikit/UIImageView.h>

namespace springboard {

// Shows an icon's image inside SBIconImageContainerView. The preview capture finds it by its exact
// class name, so it must keep this name and subclasses must not pose as it.
class SBIconImageView : public uikit::UIImageView {
    TORVANE_OBJECT(SBIconImageView, uikit::UIImageView)
public:
    static runtime::Ref<SBIconImageView> create(uikit::CGRect frame = uikit::CGRectZero);

protected:
    explicit SBIconImageView(uikit::CGRect frame);
};

}
