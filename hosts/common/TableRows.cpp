#include "TableRows.h"

#include "TouchScreen.h"

#include <sim/protocol/ControlError.h>

namespace hosts {

void readTableCell(uikit::UITableView& table, const uikit::NSIndexPath& indexPath, const std::function<void(uikit::UITableViewCell&)>& read)
{
    runtime::Ref<uikit::UITableView> protect(table);
    uikit::CGPoint offset = table.contentOffset();
    table.scrollToRowAtIndexPath(indexPath, uikit::UITableViewScrollPositionNone, false);
    table.layoutIfNeeded();
    if (runtime::RefPtr<uikit::UITableViewCell> cell = table.cellForRowAtIndexPath(indexPath))
        read(*cell);
    table.setContentOffset(offset, false);
    table.layoutIfNeeded();
}

uikit::UITableViewCell& scrollRowIntoView(uikit::UITableView& table, const uikit::NSIndexPath& indexPath, std::string_view what)
{
    runtime::Ref<uikit::UITableView> protect(table);
    if (indexPath.section() >= table.numberOfSections() || indexPath.row() >= table.numberOfRowsInSection(indexPath.section()))
        throw sim::protocol::ControlError(std::string(what) + " is no longer in its list");
    TouchScreen::dragIntoView(table, table.rectForRowAtIndexPath(indexPath), what);
    table.layoutIfNeeded();
    auto* cell = table.cellForRowAtIndexPath(indexPath);
    if (!cell)
        throw sim::protocol::ControlError(std::string(what) + " shows no cell");
    return *cell;
}

}
