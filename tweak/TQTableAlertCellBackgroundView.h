#pragma once

#include <runtime/Ref.h>
#include <uikit/UIView.h>

namespace tweak {

// The background of a TQTableAlertCell; the cell it belongs to draws it.
class TQTableAlertCellBackgroundView final : public uikit::UIView {
    TORVANE_OBJECT(TQTableAlertCellBackgroundView, uikit::UIView)
public:
    static runtime::Ref<TQTableAlertCellBackgroundView> create(uikit::CGRect frame);

    // Asks the cell above it to drawCellBackgroundView with the same rectangle.
    void drawRect(uikit::CGRect rect) override;

private:
    explicit TQTableAlertCellBackgroundView(uikit::CGRect frame);
};

}
