#include "DrawnTableViewCellView.h"

#include "DrawnTableViewCell.h"

namespace torvane {

DrawnTableViewCellView::DrawnTableViewCellView(uikit::CGRect frame)
    : UIView(frame)
{
}

void DrawnTableViewCellView::drawRect(uikit::CGRect rect)
{
    // The cell classes are named by each deliverable, so the design's own class is found by C++.
    if (auto* cell = dynamic_cast<DrawnTableViewCell*>(superview()))
        cell->drawContentView(rect);
}

}
