#include <uikit/TableLayoutBuilder.h>

#include <uikit/TableSectionTitleView.h>
#include <uikit/UITableView.h>

#include <algorithm>
#include <cmath>

namespace uikit {

CGFloat TableLayoutBuilder::saneHeight(CGFloat height)
{
    return std::isfinite(height) && height > 0 ? height : 0;
}

TableLayoutBuilder::TableLayoutBuilder(UITableView& table)
    : m_table(table)
    , m_dataSourceObject(table.dataSource())
    , m_delegateObject(table.delegate())
    , m_dataSource(protocolOf<UITableViewDataSource>(m_dataSourceObject.get()))
    , m_delegate(protocolOf<UITableViewDelegate>(m_delegateObject.get()))
{
}

bool TableLayoutBuilder::dataSourceTakes(const OptionalOperation& operation) const
{
    return m_dataSource && respondsToOptional(m_dataSourceObject.get(), operation);
}

bool TableLayoutBuilder::delegateTakes(const OptionalOperation& operation) const
{
    return m_delegate && respondsToOptional(m_delegateObject.get(), operation);
}

int TableLayoutBuilder::sectionCount() const
{
    if (!m_dataSource)
        return 0;
    int sections = dataSourceTakes(TableViewDataSource::numberOfSections) ? m_dataSource->numberOfSectionsInTableView(m_table) : 1;
    return std::max(sections, 0);
}

UITableViewLayout TableLayoutBuilder::build()
{
    UITableViewLayout layout(m_table.style(), m_table.bounds().size.width);
    UIView* tableHeader = m_table.tableHeaderView();
    layout.setTableHeaderHeight(tableHeader ? tableHeader->frame().size.height : 0);
    CGFloat y = layout.tableHeaderHeight();
    int sections = sectionCount();
    for (int s = 0; s < sections; ++s)
        layout.addSection(buildSection(s, y));
    UIView* tableFooter = m_table.tableFooterView();
    layout.setTableFooterHeight(tableFooter ? tableFooter->frame().size.height : 0);
    return layout;
}

UITableViewSectionLayout TableLayoutBuilder::buildSection(int s, CGFloat& y) const
{
    UITableView& table = m_table;
    CGFloat width = table.bounds().size.width;
    bool grouped = table.style() == UITableViewStyleGrouped;
    auto headerKind = grouped ? TableSectionTitleView::Kind::GroupedHeader : TableSectionTitleView::Kind::PlainHeader;
    auto footerKind = grouped ? TableSectionTitleView::Kind::GroupedFooter : TableSectionTitleView::Kind::PlainFooter;

    UITableViewSectionLayout section;
    int rows = std::max(m_dataSource->tableViewNumberOfRowsInSection(table, s), 0);

    if (dataSourceTakes(TableViewDataSource::titleForHeader))
        section.headerTitle = m_dataSource->tableViewTitleForHeaderInSection(table, s);
    if (dataSourceTakes(TableViewDataSource::titleForFooter))
        section.footerTitle = m_dataSource->tableViewTitleForFooterInSection(table, s);
    if (delegateTakes(TableViewDelegate::viewForHeader))
        section.headerView = m_delegate->tableViewViewForHeaderInSection(table, s);
    if (delegateTakes(TableViewDelegate::viewForFooter))
        section.footerView = m_delegate->tableViewViewForFooterInSection(table, s);
    bool headerTitled = section.headerTitle && !section.headerTitle->empty();
    bool footerTitled = section.footerTitle && !section.footerTitle->empty();

    if (delegateTakes(TableViewDelegate::heightForHeader))
        section.headerHeight = saneHeight(m_delegate->tableViewHeightForHeaderInSection(table, s));
    else if (section.headerView)
        section.headerHeight = table.sectionHeaderHeight();
    else if (headerTitled)
        section.headerHeight = TableSectionTitleView::heightFor(headerKind, *section.headerTitle, width);
    else
        section.headerHeight = grouped ? table.sectionHeaderHeight() : 0;
    if (!section.headerView && headerTitled && section.headerHeight > 0)
        section.headerView = TableSectionTitleView::create(headerKind, *section.headerTitle);

    section.headerTop = y;
    y += section.headerHeight;

    bool askRowHeight = delegateTakes(TableViewDelegate::heightForRow);
    section.rowTops.reserve(rows);
    section.rowHeights.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        CGFloat height = table.rowHeight();
        if (askRowHeight)
            height = saneHeight(m_delegate->tableViewHeightForRowAtIndexPath(table, NSIndexPath::indexPathForRow(r, s)));
        section.rowTops.push_back(y);
        section.rowHeights.push_back(height);
        y += height;
    }

    if (delegateTakes(TableViewDelegate::heightForFooter))
        section.footerHeight = saneHeight(m_delegate->tableViewHeightForFooterInSection(table, s));
    else if (section.footerView)
        section.footerHeight = table.sectionFooterHeight();
    else if (footerTitled)
        section.footerHeight = TableSectionTitleView::heightFor(footerKind, *section.footerTitle, width);
    else
        section.footerHeight = grouped ? table.sectionFooterHeight() : 0;
    if (!section.footerView && footerTitled && section.footerHeight > 0)
        section.footerView = TableSectionTitleView::create(footerKind, *section.footerTitle);

    section.footerTop = y;
    y += section.footerHeight;
    return section;
}

}
