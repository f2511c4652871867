#include <springboard/SBIconImageView.h>

namespace springboard {

TORVANE_DEFINE_CLASS(SBIconImageView)
TORVANE_ARCHIVABLE_CLASS(SBIconImageView, SBIconImageView::create())

runtime::Ref<SBIconImageView> SBIconImageView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new SBIconImageView(frame));
}

SBIconImageView::SBIconImageView(uikit::CGRect frame)
    : UIImageView(frame)
{
}

}
