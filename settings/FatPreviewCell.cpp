#include "FatPreviewCell.h"

namespace pane {

TORVANE_DEFINE_CLASS(FatPreviewCell)

runtime::Ref<FatPreviewCell> FatPreviewCell::create(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
{
    return runtime::adoptRef(*new FatPreviewCell(style, std::move(reuseIdentifier)));
}

FatPreviewCell::FatPreviewCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
    : UITableViewCell(style, std::move(reuseIdentifier))
{
}

void FatPreviewCell::setFrame(uikit::CGRect frame)
{
    UITableViewCell::setFrame(previewCellFrame(frame.origin.y));
}

}
