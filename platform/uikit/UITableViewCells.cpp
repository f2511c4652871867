// UITableView's cells: which rows are on screen get one, asked of the data source (which may
// dequeue one the table gave back); rows that leave give theirs back to the reuse queue.

#include <uikit/UITableView.h>

#include <foundation/NSLog.h>
#include <uikit/UIColor.h>

namespace uikit {

runtime::RefPtr<UITableViewCell> UITableView::dequeueReusableCellWithIdentifier(const std::string& identifier)
{
    return m_reuseQueue.dequeue(identifier);
}

size_t UITableView::reusableCellCount(const std::string& identifier) const
{
    return m_reuseQueue.count(identifier);
}

void UITableView::enqueueCell(runtime::Ref<UITableViewCell> cell)
{
    if (cell->superview() == this)
        cell->removeFromSuperview();
    cell->setHighlighted(false, false);
    m_reuseQueue.enqueue(std::move(cell));
}

void UITableView::enqueueAllCells()
{
    auto cells = std::move(m_visibleCells);
    m_visibleCells.clear();
    for (auto& [key, cell] : cells)
        enqueueCell(cell);
}

runtime::Ref<UITableViewCell> UITableView::makeCell(int section, int row)
{
    runtime::RefPtr<UITableViewCell> cell;
    if (auto* dataSource = dataSourceProtocol())
        cell = dataSource->tableViewCellForRowAtIndexPath(*this, NSIndexPath::indexPathForRow(row, section));
    if (!cell) {
        foundation::logMessage("UITableView: the data source gave no cell for section " + std::to_string(section) + ", row "
            + std::to_string(row) + "; showing an empty row");
        cell = UITableViewCell::create(UITableViewCellStyleDefault);
    }
    // A cell handed out twice (kept by the data source instead of dequeued) leaves its old row.
    for (auto it = m_visibleCells.begin(); it != m_visibleCells.end(); ++it) {
        if (it->second.ptr() == cell.get()) {
            m_visibleCells.erase(it);
            break;
        }
    }
    m_reuseQueue.remove(*cell);
    return cell.releaseNonNull();
}

void UITableView::configureCell(UITableViewCell& cell, int section, int row)
{
    int rows = m_layout.rowCount(section);
    auto position = UITableViewCellGroupPosition::Middle;
    if (rows == 1)
        position = UITableViewCellGroupPosition::Single;
    else if (row == 0)
        position = UITableViewCellGroupPosition::Top;
    else if (row == rows - 1)
        position = UITableViewCellGroupPosition::Bottom;
    cell.setTableLook(m_style, position, m_separatorStyle, m_separatorColor);
    cell.setFrame(m_layout.rectForRow(section, row));
    bool selected = m_selectedRow && *m_selectedRow == RowKey { section, row };
    cell.setSelected(selected, false);
    if (cell.isEditing() != m_editing)
        cell.setEditing(m_editing, false);
}

void UITableView::layoutVisibleCells()
{
    if (m_layingOutCells || m_loading)
        return;
    runtime::Ref<UITableView> protect(*this);
    m_layingOutCells = true;

    CGRect visible = bounds();
    auto rows = visible.size.height > 0 ? m_layout.rowsInBand(visible.origin.y, visible.origin.y + visible.size.height)
                                        : std::vector<UITableViewLayout::RowPosition> {};
    std::map<RowKey, bool> wanted;
    for (auto& row : rows)
        wanted[{ row.section, row.row }] = true;

    // Give back the cells that left the screen first, so the data source can reuse them at once.
    for (auto it = m_visibleCells.begin(); it != m_visibleCells.end();) {
        if (wanted.count(it->first)) {
            ++it;
            continue;
        }
        runtime::Ref<UITableViewCell> cell = it->second;
        it = m_visibleCells.erase(it);
        enqueueCell(cell);
    }

    size_t cellIndex = m_backgroundView ? 1 : 0;
    for (auto& row : rows) {
        RowKey key { row.section, row.row };
        auto found = m_visibleCells.find(key);
        if (found == m_visibleCells.end()) {
            auto cell = makeCell(row.section, row.row);
            found = m_visibleCells.emplace(key, cell).first;
        }
        UITableViewCell& cell = found->second;
        configureCell(cell, row.section, row.row);
        if (cell.superview() != this)
            insertSubviewAtIndex(cell, cellIndex);
    }
    placeFixedViews();
    m_layingOutCells = false;
    if (m_needsReload)
        reloadData();
}

// --- Cells on screen ---------------------------------------------------------------------------

std::vector<runtime::Ref<UITableViewCell>> UITableView::visibleCells()
{
    layoutIfNeeded();
    ensureLoaded();
    std::vector<runtime::Ref<UITableViewCell>> cells;
    for (auto& [key, cell] : m_visibleCells)
        cells.push_back(cell);
    return cells;
}

std::vector<runtime::Ref<NSIndexPath>> UITableView::indexPathsForVisibleRows()
{
    layoutIfNeeded();
    ensureLoaded();
    std::vector<runtime::Ref<NSIndexPath>> paths;
    for (auto& [key, cell] : m_visibleCells)
        paths.push_back(NSIndexPath::indexPathForRow(key.second, key.first));
    return paths;
}

UITableViewCell* UITableView::cellForRowAtIndexPath(const NSIndexPath& indexPath)
{
    layoutIfNeeded();
    ensureLoaded();
    auto found = m_visibleCells.find({ indexPath.section(), indexPath.row() });
    return found == m_visibleCells.end() ? nullptr : found->second.ptr();
}

runtime::RefPtr<NSIndexPath> UITableView::indexPathForCell(const UITableViewCell& cell) const
{
    for (auto& [key, visible] : m_visibleCells) {
        if (visible.ptr() == &cell)
            return NSIndexPath::indexPathForRow(key.second, key.first);
    }
    return nullptr;
}

}
