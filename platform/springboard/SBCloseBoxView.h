#pragma once

// The close box an icon shows at its top-left corner while icons are edited: a dark circle with a
// white rim and a white cross, as iOS 6 draws it. It only shows that the icon may be deleted; it
// takes no touches, which go to the icon view under it.

#include <uikit/UIView.h>

namespace springboard {

class SBCloseBoxView : public uikit::UIView {
    TORVANE_OBJECT(SBCloseBoxView, uikit::UIView)
public:
    static runtime::Ref<SBCloseBoxView> create();

    static constexpr uikit::CGFloat size = 26;

    void drawRect(uikit::CGRect rect) override;

protected:
    SBCloseBoxView();
};

}
