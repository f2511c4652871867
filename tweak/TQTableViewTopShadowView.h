#pragma once

#include <runtime/Ref.h>
#include <uikit/UIView.h>

namespace tweak {

// The strip over a table alert's top edge that makes the rows look sunk under the message: a fade
// from translucent black to nothing over its first 8 points. Shown only in the gradient style.
class TQTableViewTopShadowView final : public uikit::UIView {
    TORVANE_OBJECT(TQTableViewTopShadowView, uikit::UIView)
public:
    static constexpr uikit::CGFloat depth = 8;

    static runtime::Ref<TQTableViewTopShadowView> create(uikit::CGRect frame);

    void drawRect(uikit::CGRect rect) override;

private:
    explicit TQTableViewTopShadowView(uikit::CGRect frame);
};

}
