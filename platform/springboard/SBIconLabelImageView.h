#pragma once

#include <uikit/UIImageView.h>

#include <string>

namespace springboard {

// Shows the icon's name, pre-rendered into an image (white text with a dark shadow).
class SBIconLabelImageView : public uikit::UIImageView {
    TORVANE_OBJECT(SBIconLabelImageView, uikit::UIImageView)
public:
    static runtime::Ref<SBIconLabelImageView> create(uikit::CGRect frame = uikit::CGRectZero);

    // The name as iOS 6 draws it under an icon: bold 11-point white text with a dark shadow one
    // point below, cut with an ellipsis at maximumWidth points, at the screen's scale.
    static runtime::RefPtr<uikit::UIImage> labelImageForText(const std::string& text);
    static constexpr uikit::CGFloat maximumWidth = 72;

protected:
    explicit SBIconLabelImageView(uikit::CGRect frame);
};

}
