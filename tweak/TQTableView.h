#pragma once

#include <runtime/Ref.h>
#include <uikit/UITableView.h>

namespace tweak {

// How a table alert's table looks: plain (separator lines, no top shadow) or on a grey vertical
// gradient (no separators, the top shadow shown).
enum TQTableAlertStyle : int {
    TQTableAlertStylePlain = 0,
    TQTableAlertStyleGradient = 1,
};

// The table inside a table alert; in the gradient style it paints its gradient under its own drawing.
class TQTableView final : public uikit::UITableView {
    TORVANE_OBJECT(TQTableView, uikit::UITableView)
public:
    static runtime::Ref<TQTableView> create(uikit::CGRect frame = uikit::CGRectZero,
        uikit::UITableViewStyle style = uikit::UITableViewStylePlain);

    int alertStyle() const { return m_alertStyle; }
    void setAlertStyle(int style) { m_alertStyle = style; }

    void drawRect(uikit::CGRect rect) override;

private:
    TQTableView(uikit::CGRect frame, uikit::UITableViewStyle style);

    int m_alertStyle { TQTableAlertStylePlain };
};

}
