#include "SwipeDrawnTableViewCellView.h"

namespace pane {

TORVANE_DEFINE_CLASS(SwipeDrawnTableViewCellView)

runtime::Ref<SwipeDrawnTableViewCellView> SwipeDrawnTableViewCellView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new SwipeDrawnTableViewCellView(frame));
}

}
