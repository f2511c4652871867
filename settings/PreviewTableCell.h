#pragma once

// The preview row of the root list: the saved theme image around the sample icon, drawn as the
// add-on will draw it (MoveImageAboveIcon raises it, OpacityValue is its strength). It is rebuilt
// from the preferences file every time the list lays it out, so it always shows what is saved.

#include <preferences/PSSpecifier.h>
#include <preferences/PSTableCell.h>
#include <runtime/Ref.h>

#include <string>

namespace pane {

class PreviewTableCell final : public preferences::PSTableCell {
    TORVANE_OBJECT(PreviewTableCell, preferences::PSTableCell)
public:
    static constexpr const char previewReuseIdentifier[] = "CellPreviewHome";

    // initWithSpecifier:
    static runtime::Ref<PreviewTableCell> create(preferences::PSSpecifier* specifier);
    // What the list's class factory calls; the cell always has the default style and its own
    // reuse identifier.
    static runtime::Ref<PreviewTableCell> createWithSpecifier(uikit::UITableViewCellStyle, const std::string&,
        preferences::PSSpecifier* specifier);

    // Keeps the given y, takes the preview's place and size, then rebuilds the preview.
    void setFrame(uikit::CGRect frame) override;
    void loadImageForCell();

private:
    explicit PreviewTableCell(preferences::PSSpecifier* specifier);
};

}
