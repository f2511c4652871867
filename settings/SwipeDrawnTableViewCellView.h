#pragma once

#include "DrawnTableViewCellView.h"

#include <runtime/Ref.h>

namespace pane {

// The one view a SwipeDrawnTableViewCell draws its row in.
class SwipeDrawnTableViewCellView final : public torvane::DrawnTableViewCellView {
    TORVANE_OBJECT(SwipeDrawnTableViewCellView, uikit::UIView)
public:
    static runtime::Ref<SwipeDrawnTableViewCellView> create(uikit::CGRect frame);

private:
    using DrawnTableViewCellView::DrawnTableViewCellView;
};

}
