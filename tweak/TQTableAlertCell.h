#pragma once

#include <foundation/ObserverToken.h>
#include <runtime/Ref.h>
#include <uikit/UITableViewCell.h>

#include <string>

namespace tweak {

class TQTableAlertCellBackgroundView;

// A row for a table alert's own data source: transparent labels over a background that draws a
// light line along its top and a dark one along its bottom, redrawn after every rotation.
class TQTableAlertCell : public uikit::UITableViewCell {
    TORVANE_OBJECT(TQTableAlertCell, uikit::UITableViewCell)
public:
    static runtime::Ref<TQTableAlertCell> create(uikit::UITableViewCellStyle style = uikit::UITableViewCellStyleDefault,
        std::string reuseIdentifier = {});
    ~TQTableAlertCell() override;

    TQTableAlertCellBackgroundView& cellBackgroundView() const { return m_cellBackgroundView.get(); }

    void layoutSubviews() override;
    void setNeedsDisplay() override;
    // The background's drawing, in its bounds.
    virtual void drawCellBackgroundView(uikit::CGRect rect);

protected:
    TQTableAlertCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier);

private:
    runtime::Ref<TQTableAlertCellBackgroundView> m_cellBackgroundView;
    foundation::ObserverToken m_orientationObserver;
};

}
