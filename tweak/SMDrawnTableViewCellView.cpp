#include "SMDrawnTableViewCellView.h"

namespace tweak {

TORVANE_DEFINE_CLASS(SMDrawnTableViewCellView)

runtime::Ref<SMDrawnTableViewCellView> SMDrawnTableViewCellView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new SMDrawnTableViewCellView(frame));
}

}
