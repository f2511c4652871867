#pragma once

#include <uikit/UIView.h>

namespace torvane {

// The one view a DrawnTableViewCell draws its row in: its drawing is the cell's drawContentView.
class DrawnTableViewCellView : public uikit::UIView {
public:
    // Hands the rectangle to the cell it lies in; draws nothing elsewhere.
    void drawRect(uikit::CGRect rect) override;

protected:
    explicit DrawnTableViewCellView(uikit::CGRect frame);
};

}
