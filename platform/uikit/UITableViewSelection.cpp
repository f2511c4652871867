// UITableView's touches and selection: a finger that stays a tap presses and then selects a row
// (see UITableView.h for the order of the callbacks); programmatic selection; editing commits.

#include <uikit/UITableView.h>

#include <uikit/UIAlertViewStack.h>
#include <uikit/UITouch.h>

namespace uikit {

void UITableView::cancelPress()
{
    if (!m_pressedRow)
        return;
    auto found = m_visibleCells.find(*m_pressedRow);
    m_pressedRow.reset();
    if (found != m_visibleCells.end())
        found->second->setHighlighted(false, false);
}

void UITableView::tapDidBegin(UITouch& touch)
{
    cancelPress();
    if (!m_allowsSelection)
        return;
    CGPoint point = touch.locationInView(this);
    // A finger on a header (which may float over rows) presses no row.
    for (auto& section : m_layout.sections()) {
        if (section.headerView && CGRectContainsPoint(section.headerView->frame(), point))
            return;
    }
    auto row = m_layout.rowAtPoint(point);
    if (!row)
        return;
    auto found = m_visibleCells.find({ row->section, row->row });
    if (found == m_visibleCells.end())
        return;
    m_pressedRow = found->first;
    found->second->setHighlighted(true, false);
}

void UITableView::tapDidEnd()
{
    if (!m_pressedRow)
        return;
    RowKey pressed = *m_pressedRow;
    selectRowByUser(NSIndexPath::indexPathForRow(pressed.second, pressed.first));
}

void UITableView::tapDidCancel()
{
    cancelPress();
}

void UITableView::selectRowByUser(const NSIndexPath& indexPath)
{
    runtime::Ref<UITableView> protect(*this);
    runtime::RefPtr<NSIndexPath> target = NSIndexPath::indexPathForRow(indexPath.row(), indexPath.section());
    if (delegateTakes(TableViewDelegate::willSelectRow)) {
        runtime::RefPtr<runtime::Object> keep(m_delegate.get());
        target = delegateProtocol()->tableViewWillSelectRowAtIndexPath(*this, *target);
    }
    if (!target || !m_layout.containsRow(target->section(), target->row())) {
        cancelPress();
        return;
    }

    RowKey key { target->section(), target->row() };
    if (m_pressedRow && *m_pressedRow != key)
        cancelPress();
    m_pressedRow.reset();
    if (m_selectedRow && *m_selectedRow != key) {
        RowKey previous = *m_selectedRow;
        m_selectedRow.reset();
        if (auto found = m_visibleCells.find(previous); found != m_visibleCells.end())
            found->second->setSelected(false, false);
        if (delegateTakes(TableViewDelegate::didDeselectRow)) {
            runtime::RefPtr<runtime::Object> keep(m_delegate.get());
            delegateProtocol()->tableViewDidDeselectRowAtIndexPath(*this, NSIndexPath::indexPathForRow(previous.second, previous.first));
        }
    }
    m_selectedRow = key;
    if (auto found = m_visibleCells.find(key); found != m_visibleCells.end()) {
        found->second->setSelected(true, false);
        found->second->setHighlighted(false, false);
    }
    if (delegateTakes(TableViewDelegate::didSelectRow)) {
        runtime::RefPtr<runtime::Object> keep(m_delegate.get());
        delegateProtocol()->tableViewDidSelectRowAtIndexPath(*this, *target);
    }
}

runtime::RefPtr<NSIndexPath> UITableView::indexPathForSelectedRow() const
{
    if (!m_selectedRow)
        return nullptr;
    return NSIndexPath::indexPathForRow(m_selectedRow->second, m_selectedRow->first);
}

void UITableView::selectRowAtIndexPath(const NSIndexPath* indexPath, bool animated, UITableViewScrollPosition position)
{
    ensureLoaded();
    if (m_selectedRow) {
        if (auto found = m_visibleCells.find(*m_selectedRow); found != m_visibleCells.end())
            found->second->setSelected(false, animated);
        m_selectedRow.reset();
    }
    if (!indexPath || !m_layout.containsRow(indexPath->section(), indexPath->row()))
        return;
    m_selectedRow = RowKey { indexPath->section(), indexPath->row() };
    if (position != UITableViewScrollPositionNone)
        scrollToRowAtIndexPath(*indexPath, position, animated);
    if (auto found = m_visibleCells.find(*m_selectedRow); found != m_visibleCells.end())
        found->second->setSelected(true, animated);
}

void UITableView::deselectRowAtIndexPath(const NSIndexPath& indexPath, bool animated)
{
    RowKey key { indexPath.section(), indexPath.row() };
    if (m_pressedRow && *m_pressedRow == key)
        cancelPress();
    if (!m_selectedRow || *m_selectedRow != key)
        return;
    m_selectedRow.reset();
    if (auto found = m_visibleCells.find(key); found != m_visibleCells.end())
        found->second->setSelected(false, animated);
}

bool UITableView::tapRowAtIndexPath(const NSIndexPath& indexPath)
{
    runtime::Ref<UITableView> protect(*this);
    ensureLoaded();
    if (!m_layout.containsRow(indexPath.section(), indexPath.row()) || !window())
        return false;
    scrollToRowAtIndexPath(indexPath, UITableViewScrollPositionNone, false);
    layoutIfNeeded();
    auto* cell = cellForRowAtIndexPath(indexPath);
    if (!cell)
        return false;
    return UIAlertViewStack::tapView(*cell);
}

bool UITableView::commitEditingStyleForRowAtIndexPath(UITableViewCellEditingStyle style, const NSIndexPath& indexPath)
{
    runtime::Ref<UITableView> protect(*this);
    ensureLoaded();
    if (!m_layout.containsRow(indexPath.section(), indexPath.row()) || !dataSourceTakes(TableViewDataSource::commitEditingStyle))
        return false;
    runtime::RefPtr<runtime::Object> keep(m_dataSource.get());
    dataSourceProtocol()->tableViewCommitEditingStyle(*this, style, NSIndexPath::indexPathForRow(indexPath.row(), indexPath.section()));
    return true;
}

}
