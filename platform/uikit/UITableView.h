#pragma once

// A scrolling list of rows in sections, plain or grouped.
//
// Data: the data source gives the counts and the cells, the delegate the heights, header and footer
// views and hears of selection; both are weak, and their optional operations are asked through
// respondsToSelector (UITableViewProtocols.h). reloadData asks for all counts, heights and titles
// at once (a table with a data source loads itself the first time it is laid out or asked about
// its content) and then for the cells of the rows on screen only. Rows that scroll off give their
// cells back to a queue per reuse identifier; dequeueReusableCellWithIdentifier hands them out again
// (after prepareForReuse). Cells without an identifier are not reused. While the table asks for its
// layout it holds the data source and delegate, so one that lets go of itself in a callback goes
// once the layout is done.
//
// Heights: rowHeight (44) unless the delegate gives one. Headers: the delegate's height when it takes
// heightForHeaderInSection (used as given, 0 included); otherwise a title's height (22 on a plain
// table; the wrapped text on a grouped one), sectionHeaderHeight for a delegate's view, and
// otherwise 0 on a plain table and sectionHeaderHeight (10) on a grouped one. Footers alike.
//
// Updates: between beginUpdates and endUpdates (which nest) deleteRowsAtIndexPaths and
// insertRowsAtIndexPaths are only recorded, deletions in the old numbering and insertions in the
// new. At the outermost endUpdates the data source is asked for its counts again and they must
// agree: the same number of sections, and in each section rows after = rows before - deleted +
// inserted, with every index path in range and none given twice. Then the cells of the remaining
// rows move with their rows and the deleted rows' cells go to the reuse queue. When the counts do not
// agree the table logs what was wrong ("UITableView: invalid update ...") and falls back to a full
// reloadData, so it always shows what the data source says and never stops the process. A call
// outside begin/end is its own update. Row animations have no duration: updates show at once.
//
// Scrolling: the table is a UIScrollView whose content is its rows, so contentSize follows them
// (the table's width by the height of everything in the layout). setContentOffset takes any offset;
// dragging, scrollToRowAtIndexPath and the section index keep the offset within the content, and
// dragging does nothing while scrollEnabled is off. A plain table's section header stays at the top
// of the table while its rows scroll under it (rectForHeaderInSection still gives its place in the
// content).
//
// Selection: a finger down on a row highlights its cell; lifting it without having moved more than
// the scroll view's dragThreshold selects: willSelectRowAtIndexPath may redirect or refuse, the
// previous selection is deselected (didDeselect), the cell is selected and the delegate hears
// didSelectRowAtIndexPath. A finger that moves further scrolls instead and selects nothing.
// reloadData clears the selection.

#include <foundation/NSArray.h>
#include <runtime/Ref.h>
#include <runtime/WeakPtr.h>
#include <uikit/NSIndexPath.h>
#include <uikit/TableCellReuseQueue.h>
#include <uikit/UIScrollView.h>
#include <uikit/UITableViewCell.h>
#include <uikit/UITableViewLayout.h>
#include <uikit/UITableViewProtocols.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace uikit {

class TableSectionIndexView;

class UITableView : public UIScrollView {
    TORVANE_OBJECT(UITableView, UIScrollView)
public:
    // initWithFrame:style:
    static runtime::Ref<UITableView> create(CGRect frame = CGRectZero, UITableViewStyle style = UITableViewStylePlain);
    ~UITableView() override;

    UITableViewStyle style() const { return m_style; }

    runtime::Object* dataSource() const { return m_dataSource.get(); }
    void setDataSource(runtime::Object* dataSource);
    runtime::Object* delegate() const { return m_delegate.get(); }
    void setDelegate(runtime::Object* delegate);

    CGFloat rowHeight() const { return m_rowHeight; }
    void setRowHeight(CGFloat height);
    CGFloat sectionHeaderHeight() const { return m_sectionHeaderHeight; }
    void setSectionHeaderHeight(CGFloat height);
    CGFloat sectionFooterHeight() const { return m_sectionFooterHeight; }
    void setSectionFooterHeight(CGFloat height);
    UITableViewCellSeparatorStyle separatorStyle() const { return m_separatorStyle; }
    void setSeparatorStyle(UITableViewCellSeparatorStyle style);
    UIColor* separatorColor() const { return m_separatorColor.get(); }
    void setSeparatorColor(runtime::RefPtr<UIColor> color);
    UIView* backgroundView() const { return m_backgroundView.get(); }
    void setBackgroundView(runtime::RefPtr<UIView> view);
    UIView* tableHeaderView() const { return m_tableHeaderView.get(); }
    void setTableHeaderView(runtime::RefPtr<UIView> view);
    UIView* tableFooterView() const { return m_tableFooterView.get(); }
    void setTableFooterView(runtime::RefPtr<UIView> view);
    bool allowsSelection() const { return m_allowsSelection; }
    void setAllowsSelection(bool allows) { m_allowsSelection = allows; }
    bool isEditing() const { return m_editing; }
    void setEditing(bool editing, bool animated = false);

    // Scrolling (the rest is UIScrollView's).
    CGSize contentSize() override;
    void scrollToRowAtIndexPath(const NSIndexPath& indexPath, UITableViewScrollPosition position, bool animated);

    // Data.
    void reloadData();
    int numberOfSections();
    int numberOfRowsInSection(int section);
    void beginUpdates();
    void endUpdates();
    void deleteRowsAtIndexPaths(const std::vector<runtime::Ref<NSIndexPath>>& indexPaths, UITableViewRowAnimation animation);
    void insertRowsAtIndexPaths(const std::vector<runtime::Ref<NSIndexPath>>& indexPaths, UITableViewRowAnimation animation);
    runtime::RefPtr<UITableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);

    // Geometry, in the table's content coordinates.
    runtime::RefPtr<NSIndexPath> indexPathForRowAtPoint(CGPoint point);
    CGRect rectForRowAtIndexPath(const NSIndexPath& indexPath);
    CGRect rectForHeaderInSection(int section);
    CGRect rectForFooterInSection(int section);
    CGRect rectForSection(int section);

    // Cells on screen (nullptr for a row that has none).
    std::vector<runtime::Ref<UITableViewCell>> visibleCells();
    std::vector<runtime::Ref<NSIndexPath>> indexPathsForVisibleRows();
    UITableViewCell* cellForRowAtIndexPath(const NSIndexPath& indexPath);
    runtime::RefPtr<NSIndexPath> indexPathForCell(const UITableViewCell& cell) const;
    // What stands in a section's header or footer (the delegate's view or the title's), if any.
    UIView* headerViewForSection(int section);
    UIView* footerViewForSection(int section);
    std::vector<std::string> sectionIndexTitles() const;

    // Selection.
    runtime::RefPtr<NSIndexPath> indexPathForSelectedRow() const;
    // Selects without telling the delegate (as UIKit's programmatic selection does); nullptr clears.
    void selectRowAtIndexPath(const NSIndexPath* indexPath, bool animated, UITableViewScrollPosition position);
    void deselectRowAtIndexPath(const NSIndexPath& indexPath, bool animated);
    // Scrolls the row into view and taps its middle with a finger through the window's touch
    // delivery. False when the row does not exist or the table is in no window.
    bool tapRowAtIndexPath(const NSIndexPath& indexPath);

    // What the Delete (or Insert) control of an editing row does: sends
    // tableView:commitEditingStyle:forRowAtIndexPath: to the data source when it takes it. The data
    // source then changes its rows and tells the table (deleteRowsAtIndexPaths). False when the row
    // does not exist or the data source does not take the operation.
    bool commitEditingStyleForRowAtIndexPath(UITableViewCellEditingStyle style, const NSIndexPath& indexPath);

    void layoutSubviews() override;
    void drawRect(CGRect rect) override;

    // How many cells wait in the reuse queue for `identifier` (for tests and diagnostics).
    size_t reusableCellCount(const std::string& identifier) const;

protected:
    UITableView(CGRect frame, UITableViewStyle style);

    void contentOffsetDidChange() override;
    void tapDidBegin(UITouch& touch) override;
    void tapDidEnd() override;
    void tapDidCancel() override;

private:
    using RowKey = std::pair<int, int>; // section, row

    struct PendingUpdate {
        bool insert;
        RowKey row;
    };

    UITableViewDataSource* dataSourceProtocol() const;
    UITableViewDelegate* delegateProtocol() const;
    bool delegateTakes(const OptionalOperation& operation) const;
    bool dataSourceTakes(const OptionalOperation& operation) const;

    void ensureLoaded();
    void installSectionViews();
    void removeSectionViews();
    void enqueueCell(runtime::Ref<UITableViewCell> cell);
    void enqueueAllCells();
    void layoutVisibleCells();
    void configureCell(UITableViewCell& cell, int section, int row);
    runtime::Ref<UITableViewCell> makeCell(int section, int row);
    void placeFixedViews();
    void updateSectionIndex();
    void applyUpdates();
    void rejectUpdate(const std::string& reason);
    void selectRowByUser(const NSIndexPath& indexPath);
    void cancelPress();

    UITableViewStyle m_style;
    runtime::WeakPtr<runtime::Object> m_dataSource;
    runtime::WeakPtr<runtime::Object> m_delegate;
    CGFloat m_rowHeight { 44 };
    CGFloat m_sectionHeaderHeight;
    CGFloat m_sectionFooterHeight;
    UITableViewCellSeparatorStyle m_separatorStyle { UITableViewCellSeparatorStyleSingleLine };
    runtime::RefPtr<UIColor> m_separatorColor;
    runtime::RefPtr<UIView> m_backgroundView;
    runtime::RefPtr<UIView> m_tableHeaderView;
    runtime::RefPtr<UIView> m_tableFooterView;
    runtime::RefPtr<TableSectionIndexView> m_indexView;
    bool m_allowsSelection { true };
    bool m_editing { false };

    UITableViewLayout m_layout;
    bool m_needsReload { true };
    bool m_loading { false };
    bool m_layingOutCells { false };
    std::map<RowKey, runtime::Ref<UITableViewCell>> m_visibleCells;
    TableCellReuseQueue m_reuseQueue;
    std::optional<RowKey> m_selectedRow;

    int m_updateDepth { 0 };
    std::vector<PendingUpdate> m_pendingUpdates;

    // The row under a finger that may still become a tap.
    std::optional<RowKey> m_pressedRow;
};

}
