#pragma once

#include "DrawnTableViewCell.h"
#include "SwipeDrawnTableViewCellView.h"

#include <runtime/Ref.h>

#include <string>

namespace pane {

// The pane's fast-drawing cell (torvane::DrawnTableViewCell): one SwipeDrawnTableViewCellView over
// the whole row draws it through drawContentView.
class SwipeDrawnTableViewCell : public torvane::DrawnTableViewCell {
    TORVANE_OBJECT(SwipeDrawnTableViewCell, uikit::UITableViewCell)
public:
    // initWithStyle:reuseIdentifier:
    static runtime::Ref<SwipeDrawnTableViewCell> create(uikit::UITableViewCellStyle style = uikit::UITableViewCellStyleDefault,
        std::string reuseIdentifier = {});

    SwipeDrawnTableViewCellView& drawingView() const { return static_cast<SwipeDrawnTableViewCellView&>(DrawnTableViewCell::drawingView()); }

    // Dims (or restores) everything the row draws, as the disabled-applications list does for the
    // applications it leaves alone.
    void changeContentAlpha(uikit::CGFloat alpha);

protected:
    SwipeDrawnTableViewCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier);
};

}
