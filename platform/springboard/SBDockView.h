#pragma once

// The dock: a glass shelf across the bottom 96 points holding up to four icons.

#include <springboard/SBIconListView.h>

namespace springboard {

class SBDockView : public uikit::UIView {
    TORVANE_OBJECT(SBDockView, uikit::UIView)
public:
    static runtime::Ref<SBDockView> create();

    SBIconListView& iconList() const { return m_iconList.get(); }
    void drawRect(uikit::CGRect rect) override;

protected:
    SBDockView();

private:
    runtime::Ref<SBIconListView> m_iconList;
};

}
