#include "SMDrawnTableViewCell.h"

namespace tweak {

TORVANE_DEFINE_CLASS(SMDrawnTableViewCell)

runtime::Ref<SMDrawnTableViewCell> SMDrawnTableViewCell::create(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
{
    return runtime::adoptRef(*new SMDrawnTableViewCell(style, std::move(reuseIdentifier)));
}

SMDrawnTableViewCell::SMDrawnTableViewCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
    : DrawnTableViewCell(style, std::move(reuseIdentifier), SMDrawnTableViewCellView::create(uikit::CGRectZero))
{
}

}
