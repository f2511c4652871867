#include <springboard/SBIconListView.h>

#include <springboard/SBIconView.h>

#include <algorithm>

namespace springboard {

TORVANE_DEFINE_CLASS(SBIconListView)

runtime::Ref<SBIconListView> SBIconListView::create(SBIconListLayout::Style style, uikit::CGRect frame)
{
    return runtime::adoptRef(*new SBIconListView(style, frame));
}

SBIconListView::SBIconListView(SBIconListLayout::Style style, uikit::CGRect frame)
    : UIView(frame)
    , m_style(style)
{
}

std::vector<SBIconView*> SBIconListView::iconViews() const
{
    std::vector<SBIconView*> views;
    for (auto& subview : subviews()) {
        if (auto* iconView = runtime::dynamicCast<SBIconView>(subview))
            views.push_back(iconView);
    }
    return views;
}

void SBIconListView::setIconViews(const std::vector<SBIconView*>& views)
{
    for (auto* old : iconViews()) {
        if (std::find(views.begin(), views.end(), old) == views.end())
            old->removeFromSuperview();
    }
    for (size_t index = 0; index < views.size(); ++index) {
        SBIconView* view = views[index];
        auto origin = SBIconListLayout::originForIcon(m_style, index, views.size());
        view->setFrame({ origin, SBIconView::viewSize });
        // Subviews in list order, so whoever walks them meets the icons as they are placed.
        if (view->superview() == this)
            bringSubviewToFront(*view);
        else
            addSubview(*view);
    }
}

}
