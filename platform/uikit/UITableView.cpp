#include <uikit/UITableView.h>

#include <foundation/NSLog.h>
#include <foundation/NSString.h>
#include <uikit/TableLayoutBuilder.h>
#include <uikit/TableSectionIndexView.h>
#include <uikit/UIColor.h>
#include <uikit/UIGraphics.h>

#include <algorithm>
#include <cmath>

namespace uikit {

using namespace graphics;

TORVANE_DEFINE_CLASS(UITableView)

runtime::Ref<UITableView> UITableView::create(CGRect frame, UITableViewStyle style)
{
    return runtime::adoptRef(*new UITableView(frame, style));
}

UITableView::UITableView(CGRect frame, UITableViewStyle style)
    : UIScrollView(frame)
    , m_style(style == UITableViewStyleGrouped ? UITableViewStyleGrouped : UITableViewStylePlain)
    , m_sectionHeaderHeight(m_style == UITableViewStylePlain ? 22 : 10)
    , m_sectionFooterHeight(m_style == UITableViewStylePlain ? 22 : 10)
    , m_layout(m_style, frame.size.width)
{
    // Plain tables are white; grouped ones draw the pin-striped backdrop unless given a colour.
    if (m_style == UITableViewStylePlain)
        setBackgroundColor(UIColor::whiteColor());
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

bool UITableView::delegateTakes(const OptionalOperation& operation) const
{
    return delegateProtocol() && respondsToOptional(m_delegate.get(), operation);
}

bool UITableView::dataSourceTakes(const OptionalOperation& operation) const
{
    return dataSourceProtocol() && respondsToOptional(m_dataSource.get(), operation);
}

// --- Properties --------------------------------------------------------------------------------

void UITableView::setRowHeight(CGFloat height)
{
    m_rowHeight = TableLayoutBuilder::saneHeight(height);
    m_needsReload = true;
    setNeedsLayout();
}

void UITableView::setSectionHeaderHeight(CGFloat height)
{
    m_sectionHeaderHeight = TableLayoutBuilder::saneHeight(height);
    m_needsReload = true;
    setNeedsLayout();
}

void UITableView::setSectionFooterHeight(CGFloat height)
{
    m_sectionFooterHeight = TableLayoutBuilder::saneHeight(height);
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
    m_layout = TableLayoutBuilder(*this).build();
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
            if (table->dataSourceTakes(TableViewDataSource::sectionForSectionIndexTitle))
                section = table->dataSourceProtocol()->tableViewSectionForSectionIndexTitle(*table, title, index);
            if (section < 0 || section >= table->m_layout.sectionCount())
                return;
            CGPoint offset = table->contentOffset();
            CGFloat y = table->clampedContentOffset({ offset.x, table->m_layout.rectForSection(section).origin.y }).y;
            table->setContentOffset({ offset.x, y });
        });
        addSubview(*m_indexView);
    }
    m_indexView->setTitles(std::move(titles));
    placeFixedViews();
}

std::vector<std::string> UITableView::sectionIndexTitles() const
{
    std::vector<std::string> titles;
    if (m_style != UITableViewStylePlain || !dataSourceTakes(TableViewDataSource::sectionIndexTitles))
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

void UITableView::contentOffsetDidChange()
{
    cancelPress();
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
    y = clampedContentOffset({ visible.origin.x, y }).y;
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

}
