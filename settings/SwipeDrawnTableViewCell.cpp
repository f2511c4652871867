#include "SwipeDrawnTableViewCell.h"

namespace pane {

TORVANE_DEFINE_CLASS(SwipeDrawnTableViewCell)

runtime::Ref<SwipeDrawnTableViewCell> SwipeDrawnTableViewCell::create(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
{
    return runtime::adoptRef(*new SwipeDrawnTableViewCell(style, std::move(reuseIdentifier)));
}

SwipeDrawnTableViewCell::SwipeDrawnTableViewCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
    : DrawnTableViewCell(style, std::move(reuseIdentifier), SwipeDrawnTableViewCellView::create(uikit::CGRectZero))
{
}

void SwipeDrawnTableViewCell::changeContentAlpha(uikit::CGFloat alpha)
{
    drawingView().setAlpha(alpha);
}

}
