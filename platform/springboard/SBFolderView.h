#pragma once

// An open folder: the screen dims and a linen panel opens below the folder icon's row (above it
// when there is no room below), with the folder's name and its icons.

#include <springboard/SBIconListView.h>

#include <string>

namespace springboard {

class SBFolderView : public uikit::UIView {
    TORVANE_OBJECT(SBFolderView, uikit::UIView)
public:
    static runtime::Ref<SBFolderView> create(uikit::CGRect frame);

    // Shows `views` under the title; `anchorBottom` is the bottom of the folder icon's row in this
    // view's coordinates, `anchorTop` its top.
    void showFolder(const std::string& name, const std::vector<SBIconView*>& views, uikit::CGFloat anchorTop, uikit::CGFloat anchorBottom);
    SBIconListView& iconList() const { return m_iconList.get(); }
    uikit::CGRect panelFrame() const { return m_panel->frame(); }

    void drawRect(uikit::CGRect rect) override;

protected:
    explicit SBFolderView(uikit::CGRect frame);

private:
    class Panel;
    runtime::Ref<uikit::UIView> m_panel;
    runtime::Ref<SBIconListView> m_iconList;
};

}
