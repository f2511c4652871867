#include "SwipeDrawnTableViewCellView.h"

#include "SwipeDrawnTableViewCell.h"

TORVANE_DEFINE_CLASS(SwipeDrawnTableViewCellView)

runtime::Ref<SwipeDrawnTableViewCellView> SwipeDrawnTableViewCellView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new SwipeDrawnTableViewCellView(frame));
}

SwipeDrawnTableViewCellView::SwipeDrawnTableViewCellView(uikit::CGRect frame)
    : UIView(frame)
{
}

void SwipeDrawnTableViewCellView::drawRect(uikit::CGRect rect)
{
    if (auto* cell = runtime::dynamicCast<SwipeDrawnTableViewCell>(superview()))
        cell->drawContentView(rect);
}
