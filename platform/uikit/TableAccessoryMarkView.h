#pragma once

// Internal to uikit: the drawn accessories of a table cell. The checkmark is a blue tick, the
// disclosure indicator a grey chevron, the detail disclosure button a blue disc with a white
// chevron. While the cell is highlighted or selected the tick and the chevron turn white.

#include <uikit/UITableViewCell.h>
#include <uikit/UIView.h>

namespace uikit {

class TableAccessoryMarkView final : public UIView {
    TORVANE_OBJECT(TableAccessoryMarkView, UIView)
public:
    static runtime::Ref<TableAccessoryMarkView> create(UITableViewCellAccessoryType type);

    UITableViewCellAccessoryType type() const { return m_type; }
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);

    // The mark's natural size.
    CGSize sizeThatFits(CGSize) const override;
    void drawRect(CGRect rect) override;

private:
    explicit TableAccessoryMarkView(UITableViewCellAccessoryType type);

    UITableViewCellAccessoryType m_type;
    bool m_highlighted { false };
};

}
