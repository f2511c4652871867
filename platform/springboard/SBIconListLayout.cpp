#include <springboard/SBIconListLayout.h>

#include <springboard/SBIconView.h>

#include <algorithm>

namespace springboard {

uikit::CGPoint SBIconListLayout::originForIcon(Style style, size_t index, size_t count)
{
    uikit::CGFloat column = static_cast<uikit::CGFloat>(index % columns);
    uikit::CGFloat row = static_cast<uikit::CGFloat>(index / columns);
    switch (style) {
    case Style::Page:
        return { firstColumnX + columnSpacing * column, firstRowY + rowSpacing * row };
    case Style::Folder:
        return { firstColumnX + columnSpacing * column, folderFirstRowY + rowSpacing * row };
    case Style::Switcher:
        return { screenWidth * row + firstColumnX + columnSpacing * column, switcherIconY };
    case Style::Dock: {
        size_t shown = std::clamp<size_t>(count, 1, columns);
        uikit::CGFloat gap = columnSpacing - SBIconView::iconImageSize;
        uikit::CGFloat width = shown * SBIconView::iconImageSize + (shown - 1) * gap;
        // Centred on the middle of the page columns, so four icons sit exactly on them.
        uikit::CGFloat gridMiddle = firstColumnX + (columnSpacing * (columns - 1) + SBIconView::iconImageSize) / 2;
        uikit::CGFloat left = gridMiddle - width / 2;
        return { left + columnSpacing * static_cast<uikit::CGFloat>(index), dockIconY };
    }
    }
    return { 0, 0 };
}

uikit::CGFloat SBIconListLayout::folderPanelHeight(size_t count)
{
    size_t rowCount = std::max<size_t>(1, (count + columns - 1) / columns);
    return folderFirstRowY + rowSpacing * static_cast<uikit::CGFloat>(rowCount) - 6;
}

}
