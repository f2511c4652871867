#pragma once

#include "DrawnTableViewCell.h"
#include "SMDrawnTableViewCellView.h"

#include <runtime/Ref.h>

#include <string>

namespace tweak {

// The add-on's fast-drawing cell (torvane::DrawnTableViewCell): one SMDrawnTableViewCellView over
// the whole row draws it through drawContentView.
class SMDrawnTableViewCell : public torvane::DrawnTableViewCell {
    TORVANE_OBJECT(SMDrawnTableViewCell, uikit::UITableViewCell)
public:
    // initWithStyle:reuseIdentifier:
    static runtime::Ref<SMDrawnTableViewCell> create(uikit::UITableViewCellStyle style = uikit::UITableViewCellStyleDefault,
        std::string reuseIdentifier = {});

    SMDrawnTableViewCellView& drawingView() const { return static_cast<SMDrawnTableViewCellView&>(DrawnTableViewCell::drawingView()); }

protected:
    SMDrawnTableViewCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier);
};

}
