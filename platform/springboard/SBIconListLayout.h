#pragma once

// Where icon views go, in screen points (320 x 480), as on an iOS 6 iPhone:
//   pages: 4 columns at x = 17, 93, 169, 245 (76 apart) and 4 rows at y = 26, 114, 202, 290
//          (88 apart), in the page's coordinates, which are the screen's (the 20-point status bar
//          lies over the page's top);
//   dock:  the shelf is the bottom 96 points (y = 384); up to 4 icons at y = 10 in it, 76 apart and
//          centred on the middle of the page columns (x = 160.5), so 4 icons sit on the columns and
//          2 on the middle two;
//   open folder: the folder's icons in the page columns, rows 88 apart starting 34 points below
//          the panel's top (the name sits above them);
//   switcher bar: 96 points high at the bottom; 4 icons a screen at the page columns, y = 12, the
//          fifth and later on further screens to the right (x + 320 per screen).

#include <uikit/UIGeometry.h>

#include <cstddef>

namespace springboard {

struct SBIconListLayout {
    enum class Style { Page, Dock, Folder, Switcher };

    static constexpr size_t columns = 4;
    static constexpr size_t rows = 4;
    static constexpr uikit::CGFloat firstColumnX = 17;
    static constexpr uikit::CGFloat columnSpacing = 76;
    static constexpr uikit::CGFloat firstRowY = 26;
    static constexpr uikit::CGFloat rowSpacing = 88;
    static constexpr uikit::CGFloat dockHeight = 96;
    static constexpr uikit::CGFloat dockTop = 480 - dockHeight;
    static constexpr uikit::CGFloat dockIconY = 10;
    static constexpr uikit::CGFloat folderFirstRowY = 34;
    static constexpr uikit::CGFloat switcherBarHeight = 96;
    static constexpr uikit::CGFloat switcherIconY = 12;
    static constexpr uikit::CGFloat screenWidth = 320;

    // The origin of icon `index` of `count` in a list of that style, in the list's coordinates.
    static uikit::CGPoint originForIcon(Style style, size_t index, size_t count);
    // The height a folder panel needs for `count` icons.
    static uikit::CGFloat folderPanelHeight(size_t count);
};

}
