#pragma once

#include <runtime/Ref.h>
#include <uikit/UIView.h>

// The one view a SwipeDrawnTableViewCell draws its row in: its drawing is the cell's
// drawContentView.
class SwipeDrawnTableViewCellView final : public uikit::UIView {
    TORVANE_OBJECT(SwipeDrawnTableViewCellView, uikit::UIView)
public:
    static runtime::Ref<SwipeDrawnTableViewCellView> create(uikit::CGRect frame);

    // Hands the rectangle to the cell it lies in; draws nothing elsewhere.
    void drawRect(uikit::CGRect rect) override;

private:
    explicit SwipeDrawnTableViewCellView(uikit::CGRect frame);
};
