#include "SMDrawnTableViewCellView.h"

#include "SMDrawnTableViewCell.h"

namespace tweak {

TORVANE_DEFINE_CLASS(SMDrawnTableViewCellView)

runtime::Ref<SMDrawnTableViewCellView> SMDrawnTableViewCellView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new SMDrawnTableViewCellView(frame));
}

SMDrawnTableViewCellView::SMDrawnTableViewCellView(uikit::CGRect frame)
    : UIView(frame)
{
}

void SMDrawnTableViewCellView::drawRect(uikit::CGRect rect)
{
    if (auto* cell = runtime::dynamicCast<SMDrawnTableViewCell>(superview()))
        cell->drawContentView(rect);
}

}
