#pragma once

// A view that places icon views in one of the list styles of SBIconListLayout. It holds the views
// it was given as subviews; views it no longer lists are taken out.

#include <springboard/SBIconListLayout.h>

#include <uikit/UIView.h>

#include <vector>

namespace springboard {

class SBIconView;

class SBIconListView : public uikit::UIView {
    TORVANE_OBJECT(SBIconListView, uikit::UIView)
public:
    static runtime::Ref<SBIconListView> create(SBIconListLayout::Style style, uikit::CGRect frame);

    SBIconListLayout::Style style() const { return m_style; }
    // Places `views` in order (each view is moved here from wherever it was).
    void setIconViews(const std::vector<SBIconView*>& views);
    std::vector<SBIconView*> iconViews() const;

protected:
    SBIconListView(SBIconListLayout::Style style, uikit::CGRect frame);

private:
    SBIconListLayout::Style m_style;
};

}
