#include <springboard/SBIconImageContainerView.h>

namespace springboard {

TORVANE_DEFINE_CLASS(SBIconImageContainerView)
TORVANE_ARCHIVABLE_CLASS(SBIconImageContainerView, SBIconImageContainerView::create())

runtime::Ref<SBIconImageContainerView> SBIconImageContainerView::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new SBIconImageContainerView(frame));
}

SBIconImageContainerView::SBIconImageContainerView(uikit::CGRect frame)
    : UIView(frame)
{
    setUserInteractionEnabled(false);
}

}
