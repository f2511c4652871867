#pragma once

#include <runtime/Ref.h>
#include <uikit/UIView.h>

namespace tweak {

// The one view an SMDrawnTableViewCell draws its row in: its drawing is the cell's drawContentView.
class SMDrawnTableViewCellView final : public uikit::UIView {
    TORVANE_OBJECT(SMDrawnTableViewCellView, uikit::UIView)
public:
    static runtime::Ref<SMDrawnTableViewCellView> create(uikit::CGRect frame);

    // Hands the rectangle to the cell it lies in; draws nothing elsewhere.
    void drawRect(uikit::CGRect rect) override;

private:
    explicit SMDrawnTableViewCellView(uikit::CGRect frame);
};

}
