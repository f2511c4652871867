#include <springboard/SBAppSwitcherBarView.h>

#include <springboard/SBDrawing.h>

#include <uikit/UIGraphics.h>

namespace springboard {

TORVANE_DEFINE_CLASS(SBAppSwitcherBarView)

runtime::Ref<SBAppSwitcherBarView> SBAppSwitcherBarView::create()
{
    return runtime::adoptRef(*new SBAppSwitcherBarView);
}

SBAppSwitcherBarView::SBAppSwitcherBarView()
    : UIView({ { 0, 480 - SBIconListLayout::switcherBarHeight }, { SBIconListLayout::screenWidth, SBIconListLayout::switcherBarHeight } })
    , m_iconList(SBIconListView::create(SBIconListLayout::Style::Switcher,
          { { 0, 0 }, { SBIconListLayout::screenWidth, SBIconListLayout::switcherBarHeight } }))
{
    setClipsToBounds(true);
    addSubview(m_iconList);
}

void SBAppSwitcherBarView::drawRect(uikit::CGRect rect)
{
    auto context = uikit::UIGraphicsGetCurrentContext();
    fillLinen(context, rect);
    // The inner shadow the home screen casts on the bar as it slides up.
    fillVerticalGradient(context, { { 0, 0 }, { rect.size.width, 8 } }, { 0, 0, 0, 0.6 }, { 0, 0, 0, 0 });
}

}
