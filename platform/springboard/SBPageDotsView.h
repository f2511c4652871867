#pragma once

// The page indicator above the dock: one dot a page, the current one white.

#include <uikit/UIView.h>

namespace springboard {

class SBPageDotsView : public uikit::UIView {
    TORVANE_OBJECT(SBPageDotsView, uikit::UIView)
public:
    static runtime::Ref<SBPageDotsView> create(uikit::CGRect frame);
    void setPageCount(size_t count);
    void setCurrentPage(size_t page);

    void drawRect(uikit::CGRect rect) override;

protected:
    explicit SBPageDotsView(uikit::CGRect frame);

private:
    size_t m_pageCount { 1 };
    size_t m_currentPage { 0 };
};

}
