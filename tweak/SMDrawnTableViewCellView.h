#pragma once

#include "DrawnTableViewCellView.h"

#include <runtime/Ref.h>

namespace tweak {

// The one view an SMDrawnTableViewCell draws its row in.
class SMDrawnTableViewCellView final : public torvane::DrawnTableViewCellView {
    TORVANE_OBJECT(SMDrawnTableViewCellView, uikit::UIView)
public:
    static runtime::Ref<SMDrawnTableViewCellView> create(uikit::CGRect frame);

private:
    using DrawnTableViewCellView::DrawnTableViewCellView;
};

}
