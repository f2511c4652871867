#pragma once

// Rows of a table as the hosts read and reach them: reading goes through every row, as a screen
// reader lists a table; reaching a row takes a finger that scrolls the table until the row shows.

#include <uikit/NSIndexPath.h>
#include <uikit/UITableView.h>
#include <uikit/UITableViewCell.h>

#include <functional>
#include <string_view>

namespace hosts {

// Scrolls the row into view, runs `read` on its cell and puts the table's scroll offset back.
// No call when the table gives no cell for the row.
void readTableCell(uikit::UITableView&, const uikit::NSIndexPath&, const std::function<void(uikit::UITableViewCell&)>& read);

// Drags the table with a finger until the row lies wholly in view and answers its cell. Throws a
// ControlError naming `what` when the row cannot be brought into view.
uikit::UITableViewCell& scrollRowIntoView(uikit::UITableView&, const uikit::NSIndexPath&, std::string_view what);

}
