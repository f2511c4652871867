#include <uikit/UITableView.h>

#include <foundation/NSLog.h>
#include <foundation/NSSet.h>
#include <foundation/NSString.h>
#include <uikit/TableSectionIndexView.h>
#include <uikit/TableSectionTitleView.h>
#include <uikit/UIAlertViewStack.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIOptionalOperations.h>
#include <uikit/UITouch.h>
#include <uikit/UIWindow.h>

#include <algorithm>
#include <cmath>

namespace uikit {

using namespace graphics;

TORVANE_DEFINE_CLASS(UITableView)

namespace {

// How far a finger may wander before a tap becomes a drag.
constexpr CGFloat kTapSlop = 10;
// Cells kept waiting per identifier; more than a screenful is never needed.
constexpr size_t kMaximumQueuedCells = 32;

CGFloat sane(CGFloat height)
{
    return std::isfinite(height) && height > 0 ? height : 0;
}

}

runtime::Ref<UITableView> UITableView::create(CGRect frame, UITableViewStyle style)
{
    return runtime::adoptRef(*new UITableView(frame, style));
}

UITableView::UITableView(CGRect frame, UITableViewStyle style)
    : UIView(frame)
    , m_style(style == UITableViewStyleGrouped ? UITableViewStyleGrouped : UITableViewStylePlain)
    , m_sectionHeaderHeight(m_style == UITableViewStylePlain ? 22 : 10)
    , m_sectionFooterHeight(m_style == UITableViewStylePlain ? 22 : 10)
    , m_layout(m_style, frame.size.width)
{
    // Plain tables are white; grouped ones draw the pin-striped backdrop unless given a colour.
    if (m_style == UITableViewStylePlain)
        setBackgroundColor(UIColor::whiteColor());
    setClipsToBounds(true);
}

UITableView::~UITableView() = default;

// --- Data source and delegate ------------------------------------------------------------------

void UITableView::setDataSource(runtime::Object* dataSource)
{
    if (dataSource && !protocolOf<UITableViewDataSource>(dataSource))
        foundation::logMessage("UITableView: the data source " + dataSource->className() + " does not adopt UITableViewDataSource; ignored");
    m_dataSource = dataSource;
    m_needsReload = true;
    setNeedsLayout();
}

void UITableView::setDelegate(runtime::Object* delegate)
{
    if (delegate && !protocolOf<UITableViewDelegate>(delegate))
        foundation::logMessage("UITableView: the delegate " + delegate->className() + " does not adopt UITableViewDelegate; ignored");
    m_delegate = delegate;
    m_needsReload = true;
    setNeedsLayout();
}

UITableViewDataSource* UITableView::dataSourceProtocol() const
{
    return protocolOf<UITableViewDataSource>(m_dataSource.get());
}

UITableViewDelegate* UITableView::delegateProtocol() const
{
    return protocolOf<UITableViewDelegate>(m_delegate.get());
}

bool UITableView::delegateTakes(std::string_view selector) const
{
    return delegateProtocol() && respondsToOptional(m_delegate.get(), selector);
}

bool UITableView::dataSourceTakes(std::string_view selector) const
{
    return dataSourceProtocol() && respondsToOptional(m_dataSource.get(), selector);
}

// --- Properties --------------------------------------------------------------------------------

void UITableView::setRowHeight(CGFloat height)
{
    m_rowHeight = sane(height);
    m_needsReload = true;
    setNeedsLayout();
}

void UITableView::setSectionHeaderHeight(CGFloat height)
{
    m_sectionHeaderHeight = sane(height);
    m_needsReload = true;
    setNeedsLayout();
}

void UITableView::setSectionFooterHeight(CGFloat height)
{
    m_sectionFooterHeight = sane(height);
    m_needsReload = true;
    setNeedsLayout();
}

void UITableView::setSeparatorStyle(UITableViewCellSeparatorStyle style)
{
    m_separatorStyle = style;
    for (auto& [key, cell] : m_visibleCells)
        configureCell(cell, key.first, key.second);
    setNeedsDisplay();
}

void UITableView::setSeparatorColor(runtime::RefPtr<UIColor> color)
{
    m_separatorColor = std::move(color);
    for (auto& [key, cell] : m_visibleCells)
        configureCell(cell, key.first, key.second);
    setNeedsDisplay();
}

void UITableView::setBackgroundView(runtime::RefPtr<UIView> view)
{
    if (m_backgroundView)
        m_backgroundView->removeFromSuperview();
    m_backgroundView = std::move(view);
    if (m_backgroundView) {
        m_backgroundView->setUserInteractionEnabled(false);
        insertSubviewAtIndex(*m_backgroundView, 0);
    }
    placeFixedViews();
}

void UITableView::setTableHeaderView(runtime::RefPtr<UIView> view)
{
    if (m_tableHeaderView)
        m_tableHeaderView->removeFromSuperview();
    m_tableHeaderView = std::move(view);
    m_needsReload = true;
    setNeedsLayout();
}

void UITableView::setTableFooterView(runtime::RefPtr<UIView> view)
{
    if (m_tableFooterView)
        m_tableFooterView->removeFromSuperview();
    m_tableFooterView = std::move(view);
    m_needsReload = true;
    setNeedsLayout();
}

void UITableView::setEditing(bool editing, bool animated)
{
    m_editing = editing;
    cancelPress();
    for (auto& [key, cell] : m_visibleCells)
        cell->setEditing(editing, animated);
}

// --- Loading -----------------------------------------------------------------------------------

void UITableView::ensureLoaded()
{
    if (m_needsReload && !m_loading)
        reloadData();
}

UITableViewLayout UITableView::buildLayout()
{
    CGFloat width = bounds().size.width;
    UITableViewLayout layout(m_style, width);
    layout.setTableHeaderHeight(m_tableHeaderView ? m_tableHeaderView->frame().size.height : 0);
    CGFloat y = layout.tableHeaderHeight();

    auto* dataSource = dataSourceProtocol();
    auto* delegate = delegateProtocol();
    int sections = 0;
    if (dataSource) {
        sections = dataSourceTakes("numberOfSectionsInTableView:") ? dataSource->numberOfSectionsInTableView(*this) : 1;
        sections = std::max(sections, 0);
    }
    bool grouped = m_style == UITableViewStyleGrouped;
    auto headerKind = grouped ? TableSectionTitleView::Kind::GroupedHeader : TableSectionTitleView::Kind::PlainHeader;
    auto footerKind = grouped ? TableSectionTitleView::Kind::GroupedFooter : TableSectionTitleView::Kind::PlainFooter;

    for (int s = 0; s < sections; ++s) {
        UITableViewSectionLayout section;
        int rows = std::max(dataSource->tableViewNumberOfRowsInSection(*this, s), 0);

        if (dataSourceTakes("tableView:titleForHeaderInSection:"))
            section.headerTitle = dataSource->tableViewTitleForHeaderInSection(*this, s);
        if (dataSourceTakes("tableView:titleForFooterInSection:"))
            section.footerTitle = dataSource->tableViewTitleForFooterInSection(*this, s);
        if (delegateTakes("tableView:viewForHeaderInSection:"))
            section.headerView = delegate->tableViewViewForHeaderInSection(*this, s);
        if (delegateTakes("tableView:viewForFooterInSection:"))
            section.footerView = delegate->tableViewViewForFooterInSection(*this, s);
        bool headerTitled = section.headerTitle && !section.headerTitle->empty();
        bool footerTitled = section.footerTitle && !section.footerTitle->empty();

        if (delegateTakes("tableView:heightForHeaderInSection:"))
            section.headerHeight = sane(delegate->tableViewHeightForHeaderInSection(*this, s));
        else if (section.headerView)
            section.headerHeight = m_sectionHeaderHeight;
        else if (headerTitled)
            section.headerHeight = TableSectionTitleView::heightFor(headerKind, *section.headerTitle, width);
        else
            section.headerHeight = grouped ? m_sectionHeaderHeight : 0;
        if (!section.headerView && headerTitled && section.headerHeight > 0)
            section.headerView = TableSectionTitleView::create(headerKind, *section.headerTitle);

        section.headerTop = y;
        y += section.headerHeight;

        bool askRowHeight = delegateTakes("tableView:heightForRowAtIndexPath:");
        section.rowTops.reserve(rows);
        section.rowHeights.reserve(rows);
        for (int r = 0; r < rows; ++r) {
            CGFloat height = m_rowHeight;
            if (askRowHeight)
                height = sane(delegate->tableViewHeightForRowAtIndexPath(*this, NSIndexPath::indexPathForRow(r, s)));
            section.rowTops.push_back(y);
            section.rowHeights.push_back(height);
            y += height;
        }

        if (delegateTakes("tableView:heightForFooterInSection:"))
            section.footerHeight = sane(delegate->tableViewHeightForFooterInSection(*this, s));
        else if (section.footerView)
            section.footerHeight = m_sectionFooterHeight;
        else if (footerTitled)
            section.footerHeight = TableSectionTitleView::heightFor(footerKind, *section.footerTitle, width);
        else
            section.footerHeight = grouped ? m_sectionFooterHeight : 0;
        if (!section.footerView && footerTitled && section.footerHeight > 0)
            section.footerView = TableSectionTitleView::create(footerKind, *section.footerTitle);

        section.footerTop = y;
        y += section.footerHeight;
        layout.addSection(std::move(section));
    }
    layout.setTableFooterHeight(m_tableFooterView ? m_tableFooterView->frame().size.height : 0);
    return layout;
}

void UITableView::removeSectionViews()
{
    for (auto& section : m_layout.sections()) {
        for (auto* view : { section.headerView.get(), section.footerView.get() }) {
            if (view && view->superview() == this)
                view->removeFromSuperview();
        }
    }
}

void UITableView::installSectionViews()
{
    CGFloat width = bounds().size.width;
    for (int s = 0; s < m_layout.sectionCount(); ++s) {
        auto& section = m_layout.section(s);
        if (section.headerView) {
            section.headerView->setFrame(m_layout.rectForHeader(s));
            addSubview(*section.headerView);
        }
        if (section.footerView) {
            section.footerView->setFrame(m_layout.rectForFooter(s));
            addSubview(*section.footerView);
        }
    }
    if (m_tableHeaderView) {
        m_tableHeaderView->setFrame({ { 0, 0 }, { width, m_layout.tableHeaderHeight() } });
        addSubview(*m_tableHeaderView);
    }
    if (m_tableFooterView) {
        m_tableFooterView->setFrame({ { 0, m_layout.tableFooterTop() }, { width, m_tableFooterView->frame().size.height } });
        addSubview(*m_tableFooterView);
    }
}

void UITableView::reloadData()
{
    if (m_loading || m_layingOutCells) {
        // Asked to reload from inside a data-source callback: do it once this pass is done.
        m_needsReload = true;
        return;
    }
    runtime::Ref<UITableView> protect(*this);
    m_loading = true;
    m_needsReload = false;
    cancelPress();
    enqueueAllCells();
    removeSectionViews();
    m_selectedRow.reset();
    m_pendingUpdates.clear();
    m_layout = buildLayout();
    m_loading = false;

    installSectionViews();
    updateSectionIndex();
    layoutVisibleCells();
    setNeedsDisplay();
    if (m_needsReload)
        reloadData();
}

int UITableView::numberOfSections()
{
    ensureLoaded();
    return m_layout.sectionCount();
}

int UITableView::numberOfRowsInSection(int section)
{
    ensureLoaded();
    return m_layout.rowCount(section);
}

// --- Cells -------------------------------------------------------------------------------------

runtime::RefPtr<UITableViewCell> UITableView::dequeueReusableCellWithIdentifier(const std::string& identifier)
{
    auto queue = m_reuseQueues.find(identifier);
    if (queue == m_reuseQueues.end() || queue->second.empty())
        return nullptr;
    runtime::Ref<UITableViewCell> cell = queue->second.back();
    queue->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

size_t UITableView::reusableCellCount(const std::string& identifier) const
{
    auto queue = m_reuseQueues.find(identifier);
    return queue == m_reuseQueues.end() ? 0 : queue->second.size();
}

void UITableView::enqueueCell(runtime::Ref<UITableViewCell> cell)
{
    if (cell->superview() == this)
        cell->removeFromSuperview();
    cell->setHighlighted(false, false);
    if (cell->reuseIdentifier().empty())
        return;
    auto& queue = m_reuseQueues[cell->reuseIdentifier()];
    if (queue.size() < kMaximumQueuedCells && std::none_of(queue.begin(), queue.end(), [&](auto& queued) { return queued.ptr() == cell.ptr(); }))
        queue.push_back(std::move(cell));
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
    for (auto& [identifier, queue] : m_reuseQueues)
        std::erase_if(queue, [&](auto& queued) { return queued.ptr() == cell.get(); });
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

void UITableView::placeFixedViews()
{
    CGRect visible = bounds();
    if (m_backgroundView)
        m_backgroundView->setFrame(visible);
    if (m_style == UITableViewStylePlain) {
        // A plain table's section header stays at the top while its section scrolls under it, and
        // is pushed up by the next section's header.
        for (int s = 0; s < m_layout.sectionCount(); ++s) {
            auto& section = m_layout.section(s);
            if (!section.headerView || section.headerHeight <= 0)
                continue;
            CGFloat pinned = std::min(std::max(section.headerTop, visible.origin.y), section.footerTop - section.headerHeight);
            pinned = std::max(pinned, section.headerTop);
            section.headerView->setFrame({ { 0, pinned }, { visible.size.width, section.headerHeight } });
        }
    }
    if (m_indexView) {
        m_indexView->setFrame({ { visible.origin.x + visible.size.width - TableSectionIndexView::width, visible.origin.y },
            { TableSectionIndexView::width, visible.size.height } });
        bringSubviewToFront(*m_indexView);
    }
}

void UITableView::updateSectionIndex()
{
    auto titles = sectionIndexTitles();
    if (titles.empty()) {
        if (m_indexView)
            m_indexView->removeFromSuperview();
        m_indexView = nullptr;
        return;
    }
    if (!m_indexView) {
        runtime::WeakPtr<UITableView> weakThis(*this);
        m_indexView = TableSectionIndexView::create([weakThis](int index, const std::string& title) {
            runtime::RefPtr<UITableView> table = weakThis.strong();
            if (!table)
                return;
            int section = index;
            if (table->dataSourceTakes("tableView:sectionForSectionIndexTitle:atIndex:"))
                section = table->dataSourceProtocol()->tableViewSectionForSectionIndexTitle(*table, title, index);
            if (section < 0 || section >= table->m_layout.sectionCount())
                return;
            CGFloat y = std::min(table->m_layout.rectForSection(section).origin.y, table->maximumOffsetY());
            table->setContentOffset({ table->contentOffset().x, std::max<CGFloat>(0, y) });
        });
        addSubview(*m_indexView);
    }
    m_indexView->setTitles(std::move(titles));
    placeFixedViews();
}

std::vector<std::string> UITableView::sectionIndexTitles() const
{
    std::vector<std::string> titles;
    if (m_style != UITableViewStylePlain || !dataSourceTakes("sectionIndexTitlesForTableView:"))
        return titles;
    auto array = dataSourceProtocol()->sectionIndexTitlesForTableView(const_cast<UITableView&>(*this));
    if (!array)
        return titles;
    for (auto& object : *array) {
        if (auto* text = runtime::dynamicCast<foundation::NSString>(object))
            titles.push_back(text->string());
        else
            titles.push_back(object->description());
    }
    return titles;
}

// --- Geometry and scrolling ----------------------------------------------------------------------

CGSize UITableView::contentSize()
{
    ensureLoaded();
    return { bounds().size.width, m_layout.contentHeight() };
}

CGFloat UITableView::maximumOffsetY()
{
    return std::max<CGFloat>(0, contentSize().height - bounds().size.height);
}

void UITableView::setContentOffset(CGPoint offset, bool)
{
    CGRect b = bounds();
    if (b.origin == offset)
        return;
    cancelPress();
    UIView::setBounds({ offset, b.size });
    layoutVisibleCells();
}

void UITableView::scrollToRowAtIndexPath(const NSIndexPath& indexPath, UITableViewScrollPosition position, bool animated)
{
    ensureLoaded();
    if (!m_layout.containsRow(indexPath.section(), indexPath.row()))
        return;
    CGRect row = m_layout.rectForRow(indexPath.section(), indexPath.row());
    CGRect visible = bounds();
    CGFloat y = visible.origin.y;
    switch (position) {
    case UITableViewScrollPositionTop:
        y = row.origin.y;
        break;
    case UITableViewScrollPositionMiddle:
        y = CGRectGetMidY(row) - visible.size.height / 2;
        break;
    case UITableViewScrollPositionBottom:
        y = CGRectGetMaxY(row) - visible.size.height;
        break;
    case UITableViewScrollPositionNone:
        if (row.origin.y < y)
            y = row.origin.y;
        else if (CGRectGetMaxY(row) > y + visible.size.height)
            y = CGRectGetMaxY(row) - visible.size.height;
        break;
    }
    y = std::clamp<CGFloat>(y, 0, maximumOffsetY());
    setContentOffset({ visible.origin.x, y }, animated);
}

runtime::RefPtr<NSIndexPath> UITableView::indexPathForRowAtPoint(CGPoint point)
{
    ensureLoaded();
    auto row = m_layout.rowAtPoint(point);
    if (!row)
        return nullptr;
    return NSIndexPath::indexPathForRow(row->row, row->section);
}

CGRect UITableView::rectForRowAtIndexPath(const NSIndexPath& indexPath)
{
    ensureLoaded();
    return m_layout.rectForRow(indexPath.section(), indexPath.row());
}

CGRect UITableView::rectForHeaderInSection(int section)
{
    ensureLoaded();
    return m_layout.rectForHeader(section);
}

CGRect UITableView::rectForFooterInSection(int section)
{
    ensureLoaded();
    return m_layout.rectForFooter(section);
}

CGRect UITableView::rectForSection(int section)
{
    ensureLoaded();
    return m_layout.rectForSection(section);
}

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

UIView* UITableView::headerViewForSection(int section)
{
    ensureLoaded();
    if (section < 0 || section >= m_layout.sectionCount())
        return nullptr;
    return m_layout.section(section).headerView.get();
}

UIView* UITableView::footerViewForSection(int section)
{
    ensureLoaded();
    if (section < 0 || section >= m_layout.sectionCount())
        return nullptr;
    return m_layout.section(section).footerView.get();
}

void UITableView::layoutSubviews()
{
    if (!m_needsReload && m_layout.width() != bounds().size.width) {
        // Row widths, and the height of wrapped grouped titles, follow the width.
        auto selected = m_selectedRow;
        reloadData();
        if (selected && m_layout.containsRow(selected->first, selected->second)) {
            m_selectedRow = selected;
            layoutVisibleCells();
        }
        return;
    }
    ensureLoaded();
    layoutVisibleCells();
}

// --- Drawing -----------------------------------------------------------------------------------

void UITableView::drawRect(CGRect rect)
{
    auto c = UIGraphicsGetCurrentContext();
    if (m_style == UITableViewStyleGrouped && !backgroundColor()) {
        // The settings backdrop: fine vertical pin stripes of two blue-greys.
        CGContextSetRGBFillColor(c, 0.773f, 0.800f, 0.843f, 1);
        CGContextFillRect(c, rect);
        CGContextSetRGBFillColor(c, 0.808f, 0.831f, 0.867f, 1);
        CGFloat first = std::floor(rect.origin.x / 7) * 7;
        for (CGFloat x = first; x < CGRectGetMaxX(rect); x += 7)
            CGContextFillRect(c, { { x + 4, rect.origin.y }, { 3, rect.size.height } });
        return;
    }
    if (m_style == UITableViewStylePlain && m_separatorStyle != UITableViewCellSeparatorStyleNone && m_rowHeight > 0) {
        // Empty rows continue below the last one, as lines.
        if (m_separatorColor)
            CGContextSetFillColorWithColor(c, m_separatorColor->CGColor());
        else
            CGContextSetGrayFillColor(c, 0.88f, 1);
        CGFloat y = m_layout.contentHeight() + m_rowHeight;
        if (y < rect.origin.y)
            y += std::floor((rect.origin.y - y) / m_rowHeight) * m_rowHeight;
        for (; y - 1 < CGRectGetMaxY(rect); y += m_rowHeight)
            CGContextFillRect(c, { { rect.origin.x, y - 1 }, { rect.size.width, 1 } });
    }
}

// --- Touches and selection ----------------------------------------------------------------------

void UITableView::cancelPress()
{
    if (!m_pressedRow)
        return;
    auto found = m_visibleCells.find(*m_pressedRow);
    m_pressedRow.reset();
    if (found != m_visibleCells.end())
        found->second->setHighlighted(false, false);
}

void UITableView::touchesBegan(foundation::NSSet& touches, UIEvent*)
{
    auto touch = runtime::dynamicCast<UITouch>(touches.anyObject());
    if (!touch)
        return;
    cancelPress();
    m_tracking = true;
    m_dragging = false;
    m_touchStart = touch->locationInView(nullptr);
    m_offsetAtTouchStart = contentOffset();
    if (!m_allowsSelection)
        return;
    CGPoint point = touch->locationInView(this);
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

void UITableView::touchesMoved(foundation::NSSet& touches, UIEvent*)
{
    auto touch = runtime::dynamicCast<UITouch>(touches.anyObject());
    if (!touch || !m_tracking)
        return;
    CGPoint now = touch->locationInView(nullptr);
    CGFloat dx = now.x - m_touchStart.x, dy = now.y - m_touchStart.y;
    if (!m_dragging && std::hypot(dx, dy) > kTapSlop) {
        m_dragging = true;
        cancelPress();
    }
    if (m_dragging && m_scrollEnabled) {
        CGFloat y = std::clamp<CGFloat>(m_offsetAtTouchStart.y - dy, 0, maximumOffsetY());
        setContentOffset({ m_offsetAtTouchStart.x, y });
    }
}

void UITableView::touchesEnded(foundation::NSSet&, UIEvent*)
{
    bool wasTap = m_tracking && !m_dragging;
    m_tracking = false;
    m_dragging = false;
    if (!wasTap || !m_pressedRow) {
        cancelPress();
        return;
    }
    RowKey pressed = *m_pressedRow;
    selectRowByUser(NSIndexPath::indexPathForRow(pressed.second, pressed.first));
}

void UITableView::touchesCancelled(foundation::NSSet&, UIEvent*)
{
    m_tracking = false;
    m_dragging = false;
    cancelPress();
}

void UITableView::selectRowByUser(const NSIndexPath& indexPath)
{
    runtime::Ref<UITableView> protect(*this);
    runtime::RefPtr<NSIndexPath> target = NSIndexPath::indexPathForRow(indexPath.row(), indexPath.section());
    if (delegateTakes("tableView:willSelectRowAtIndexPath:")) {
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
        if (delegateTakes("tableView:didDeselectRowAtIndexPath:")) {
            runtime::RefPtr<runtime::Object> keep(m_delegate.get());
            delegateProtocol()->tableViewDidDeselectRowAtIndexPath(*this, NSIndexPath::indexPathForRow(previous.second, previous.first));
        }
    }
    m_selectedRow = key;
    if (auto found = m_visibleCells.find(key); found != m_visibleCells.end()) {
        found->second->setSelected(true, false);
        found->second->setHighlighted(false, false);
    }
    if (delegateTakes("tableView:didSelectRowAtIndexPath:")) {
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
    if (!m_layout.containsRow(indexPath.section(), indexPath.row()) || !dataSourceTakes("tableView:commitEditingStyle:forRowAtIndexPath:"))
        return false;
    runtime::RefPtr<runtime::Object> keep(m_dataSource.get());
    dataSourceProtocol()->tableViewCommitEditingStyle(*this, style, NSIndexPath::indexPathForRow(indexPath.row(), indexPath.section()));
    return true;
}

}
