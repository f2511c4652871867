#pragma once

// Internal to uikit: the background a table gives its cells when their owner sets none.
//
// Plain tables: a white row, or the selection gradient (blue or grey) across the whole row.
// Grouped tables: one piece of the white rounded group: the first row of a section rounds its top
// corners, the last its bottom ones, a lone row all four; a thin grey rim runs around the group and
// a separator line under every row but the last. Selected pieces are filled with the selection
// gradient in the same shape.

#include <runtime/RefPtr.h>
#include <uikit/UITableViewCell.h>
#include <uikit/UIView.h>

namespace uikit {

class TableCellBackgroundView final : public UIView {
    TORVANE_OBJECT(TableCellBackgroundView, UIView)
public:
    enum class Fill { White, BlueSelection, GreySelection };

    static runtime::Ref<TableCellBackgroundView> create(Fill fill);

    Fill fill() const { return m_fill; }
    void setLook(UITableViewStyle style, UITableViewCellGroupPosition position, runtime::RefPtr<UIColor> separatorColor);

    void drawRect(CGRect rect) override;

    static constexpr CGFloat groupCornerRadius = 10;

private:
    explicit TableCellBackgroundView(Fill fill);

    Fill m_fill;
    UITableViewStyle m_style { UITableViewStylePlain };
    UITableViewCellGroupPosition m_position { UITableViewCellGroupPosition::Single };
    runtime::RefPtr<UIColor> m_separatorColor;
};

}
