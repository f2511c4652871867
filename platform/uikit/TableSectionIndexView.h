#pragma once

// Internal to uikit: the section index down the right edge of a plain table: the titles spread
// evenly over the height, bold and slate-coloured. Touching or sliding over it reports the title
// under the finger, and the table scrolls to that section.

#include <uikit/UIView.h>

#include <functional>
#include <string>
#include <vector>

namespace uikit {

class TableSectionIndexView final : public UIView {
    TORVANE_OBJECT(TableSectionIndexView, UIView)
public:
    using Handler = std::function<void(int index, const std::string& title)>;

    static constexpr CGFloat width = 30;

    static runtime::Ref<TableSectionIndexView> create(Handler handler);

    const std::vector<std::string>& titles() const { return m_titles; }
    void setTitles(std::vector<std::string> titles);

    // The title index at a y in this view's coordinates (clamped to the titles), -1 without titles.
    int indexAtY(CGFloat y) const;

    void drawRect(CGRect rect) override;
    void touchesBegan(foundation::NSSet& touches, UIEvent* event) override;
    void touchesMoved(foundation::NSSet& touches, UIEvent* event) override;
    void touchesEnded(foundation::NSSet&, UIEvent*) override { }
    void touchesCancelled(foundation::NSSet&, UIEvent*) override { }

private:
    explicit TableSectionIndexView(Handler handler);
    void report(foundation::NSSet& touches);
    CGFloat rowHeight() const;

    Handler m_handler;
    std::vector<std::string> m_titles;
    int m_lastIndex { -1 };
};

}
