#pragma once

#include <runtime/Ref.h>
#include <uikit/UITableView.h>

namespace tweak {

// How a table alert's table looks: plain (separator lines, no top shadow) or on a grey vertical
// gradient (no separators, the top shadow shown).
// A value other than these two may be stored, and then looks plain.
enum class TQTableAlertStyle : int {
    Plain = 0,
    Gradient = 1,
};

// The table inside a table alert; in the gradient style it paints its gradient under its own drawing.
class TQTableView final : public uikit::UITableView {
    TORVANE_OBJECT(TQTableView, uikit::UITableView)
public:
    static runtime::Ref<TQTableView> create(uikit::CGRect frame = uikit::CGRectZero,
        uikit::UITableViewStyle style = uikit::UITableViewStylePlain);

    TQTableAlertStyle alertStyle() const { return m_alertStyle; }
    void setAlertStyle(TQTableAlertStyle style)
    {
        m_alertStyle = style;
        setNeedsDisplay();
    }

    void drawRect(uikit::CGRect rect) override;

private:
    TQTableView(uikit::CGRect frame, uikit::UITableViewStyle style);

    TQTableAlertStyle m_alertStyle { TQTableAlertStyle::Plain };
};

}
