#pragma once

// The one row of the theme chooser's preview table: a 103 x 103 square in the middle of the
// table's width, wherever the table puts it vertically. Its content is the preview composition.

#include <runtime/Ref.h>
#include <uikit/UITableViewCell.h>

#include <string>

namespace pane {

class FatPreviewCell final : public uikit::UITableViewCell {
    TORVANE_OBJECT(FatPreviewCell, uikit::UITableViewCell)
public:
    static runtime::Ref<FatPreviewCell> create(uikit::UITableViewCellStyle style = uikit::UITableViewCellStyleDefault,
        std::string reuseIdentifier = {});

    // Keeps the given y; x, width and height are the preview's own.
    void setFrame(uikit::CGRect frame) override;

private:
    FatPreviewCell(uikit::UITableViewCellStyle style, std::string reuseIdentifier);
};

// The preview square's place: centred in the 320-point table, the preview's own size.
inline uikit::CGRect previewCellFrame(uikit::CGFloat y)
{
    return { { 108, y }, { 103, 103 } };
}

}
