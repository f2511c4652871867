// UITableView's batched row updates (see UITableView.h for the rules they follow).

#include <uikit/UITableView.h>

#include <foundation/NSLog.h>
#include <uikit/TableLayoutBuilder.h>

#include <set>

namespace uikit {

void UITableView::beginUpdates()
{
    ensureLoaded();
    ++m_updateDepth;
}

void UITableView::endUpdates()
{
    if (m_updateDepth == 0) {
        foundation::logMessage("UITableView: endUpdates without beginUpdates; ignored");
        return;
    }
    if (--m_updateDepth == 0)
        applyUpdates();
}

void UITableView::deleteRowsAtIndexPaths(const std::vector<runtime::Ref<NSIndexPath>>& indexPaths, UITableViewRowAnimation)
{
    bool own = m_updateDepth == 0;
    if (own)
        beginUpdates();
    for (auto& path : indexPaths)
        m_pendingUpdates.push_back({ false, { path->section(), path->row() } });
    if (own)
        endUpdates();
}

void UITableView::insertRowsAtIndexPaths(const std::vector<runtime::Ref<NSIndexPath>>& indexPaths, UITableViewRowAnimation)
{
    bool own = m_updateDepth == 0;
    if (own)
        beginUpdates();
    for (auto& path : indexPaths)
        m_pendingUpdates.push_back({ true, { path->section(), path->row() } });
    if (own)
        endUpdates();
}

void UITableView::rejectUpdate(const std::string& reason)
{
    foundation::logMessage("UITableView: invalid update: " + reason + "; reloading all rows");
    reloadData();
}

void UITableView::applyUpdates()
{
    runtime::Ref<UITableView> protect(*this);
    auto updates = std::move(m_pendingUpdates);
    m_pendingUpdates.clear();
    if (updates.empty())
        return;
    auto* dataSource = dataSourceProtocol();
    if (!dataSource || m_layingOutCells || m_loading) {
        // Without a data source there is nothing to check against; from inside a data-source
        // callback the table cannot rearrange its cells, so it reloads once that pass is done.
        reloadData();
        return;
    }

    const int oldSections = m_layout.sectionCount();
    int newSections = dataSourceTakes(TableViewDataSource::numberOfSections) ? dataSource->numberOfSectionsInTableView(*this) : 1;
    if (newSections != oldSections) {
        rejectUpdate("the number of sections changed from " + std::to_string(oldSections) + " to " + std::to_string(newSections)
            + " in an update of rows");
        return;
    }

    std::vector<std::set<int>> deleted(oldSections), inserted(oldSections);
    for (auto& update : updates) {
        auto [section, row] = update.row;
        if (section < 0 || section >= oldSections) {
            rejectUpdate("section " + std::to_string(section) + " does not exist");
            return;
        }
        auto& rows = update.insert ? inserted[section] : deleted[section];
        if (!rows.insert(row).second) {
            rejectUpdate("row " + std::to_string(row) + " of section " + std::to_string(section) + " is "
                + (update.insert ? "inserted" : "deleted") + " twice");
            return;
        }
    }

    std::vector<int> newRows(oldSections);
    for (int s = 0; s < oldSections; ++s) {
        int before = m_layout.rowCount(s);
        newRows[s] = dataSource->tableViewNumberOfRowsInSection(*this, s);
        if (!deleted[s].empty() && (*deleted[s].begin() < 0 || *deleted[s].rbegin() >= before)) {
            rejectUpdate("a deleted row of section " + std::to_string(s) + " is outside its " + std::to_string(before) + " rows");
            return;
        }
        if (!inserted[s].empty() && (*inserted[s].begin() < 0 || *inserted[s].rbegin() >= newRows[s])) {
            rejectUpdate("an inserted row of section " + std::to_string(s) + " is outside its new " + std::to_string(newRows[s]) + " rows");
            return;
        }
        int expected = before - static_cast<int>(deleted[s].size()) + static_cast<int>(inserted[s].size());
        if (newRows[s] != expected) {
            rejectUpdate("section " + std::to_string(s) + " has " + std::to_string(newRows[s]) + " rows after the update, but "
                + std::to_string(before) + " before, " + std::to_string(deleted[s].size()) + " deleted and "
                + std::to_string(inserted[s].size()) + " inserted make " + std::to_string(expected));
            return;
        }
    }

    // Where each remaining row goes: the rows that stay keep their order and fill the new
    // positions that are not insertions.
    std::map<RowKey, RowKey> moves;
    for (int s = 0; s < oldSections; ++s) {
        int newRow = 0;
        for (int oldRow = 0; oldRow < m_layout.rowCount(s); ++oldRow) {
            if (deleted[s].count(oldRow))
                continue;
            while (inserted[s].count(newRow))
                ++newRow;
            moves[{ s, oldRow }] = { s, newRow++ };
        }
    }

    cancelPress();
    std::map<RowKey, runtime::Ref<UITableViewCell>> moved;
    auto cells = std::move(m_visibleCells);
    m_visibleCells.clear();
    for (auto& [key, cell] : cells) {
        if (auto to = moves.find(key); to != moves.end())
            moved.emplace(to->second, cell);
        else
            enqueueCell(cell);
    }
    if (m_selectedRow) {
        auto to = moves.find(*m_selectedRow);
        m_selectedRow = to == moves.end() ? std::nullopt : std::optional<RowKey>(to->second);
    }

    removeSectionViews();
    m_loading = true;
    m_layout = TableLayoutBuilder(*this).build();
    m_loading = false;
    m_visibleCells = std::move(moved);
    installSectionViews();
    updateSectionIndex();
    layoutVisibleCells();
    setNeedsDisplay();
}

}
