#pragma once

#include <uikit/UIView.h>

namespace springboard {

// Holds the icon-image view (as on iOS, where it also carries overlays such as the download
// progress). It takes no touches: they belong to the icon view around it.
class SBIconImageContainerView : public uikit::UIView {
    TORVANE_OBJECT(SBIconImageContainerView, uikit::UIView)
public:
    static runtime::Ref<SBIconImageContainerView> create(uikit::CGRect frame = uikit::CGRectZero);

protected:
    explicit SBIconImageContainerView(uikit::CGRect frame);
};

}
