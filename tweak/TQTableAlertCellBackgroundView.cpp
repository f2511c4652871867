#include "TQTableAlertCellBackgroundView.h"

#include "TQTableAlertCell.h"

namespace tweak {

TORVANE_DEFINE_CLASS(TQTableAlertCellBackgroundView)

runtime::Ref<TQTableAlertCellBackgroundView> TQTableAlertCellBackgroundView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new TQTableAlertCellBackgroundView(frame));
}

TQTableAlertCellBackgroundView::TQTableAlertCellBackgroundView(uikit::CGRect frame)
    : UIView(frame)
{
}

void TQTableAlertCellBackgroundView::drawRect(uikit::CGRect rect)
{
    if (auto* cell = runtime::dynamicCast<TQTableAlertCell>(superview()))
        cell->drawCellBackgroundView(rect);
}

}
