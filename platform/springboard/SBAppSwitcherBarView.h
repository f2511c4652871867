#pragma once

// The switcher bar: dark linen along the bottom 96 points, holding the running applications' icon
// views (see SBIconListLayout for where they go).

#include <springboard/SBIconListView.h>

namespace springboard {

class SBAppSwitcherBarView : public uikit::UIView {
    TORVANE_OBJECT(SBAppSwitcherBarView, uikit::UIView)
public:
    static runtime::Ref<SBAppSwitcherBarView> create();

    SBIconListView& iconList() const { return m_iconList.get(); }
    void setIconViews(const std::vector<SBIconView*>& views) { m_iconList->setIconViews(views); }
    void drawRect(uikit::CGRect rect) override;

protected:
    SBAppSwitcherBarView();

private:
    runtime::Ref<SBIconListView> m_iconList;
};

}
