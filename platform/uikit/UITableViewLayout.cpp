#include <uikit/UITableViewLayout.h>

#include <uikit/UIView.h>

#include <algorithm>

namespace uikit {

void UITableViewLayout::setTableHeaderHeight(CGFloat height)
{
    m_tableHeaderHeight = std::max<CGFloat>(0, height);
}

void UITableViewLayout::addSection(UITableViewSectionLayout section)
{
    m_sections.push_back(std::move(section));
}

void UITableViewLayout::setTableFooterHeight(CGFloat height)
{
    m_tableFooterHeight = std::max<CGFloat>(0, height);
}

int UITableViewLayout::rowCount(int section) const
{
    if (section < 0 || section >= sectionCount())
        return 0;
    return m_sections[section].rowCount();
}

CGFloat UITableViewLayout::tableFooterTop() const
{
    return m_sections.empty() ? m_tableHeaderHeight : m_sections.back().bottom();
}

CGFloat UITableViewLayout::contentHeight() const
{
    return tableFooterTop() + m_tableFooterHeight;
}

CGFloat UITableViewLayout::rowWidth() const
{
    return std::max<CGFloat>(0, m_width - 2 * rowX());
}

CGRect UITableViewLayout::rectForRow(int section, int row) const
{
    if (!containsRow(section, row))
        return CGRectZero;
    auto& s = m_sections[section];
    return { { rowX(), s.rowTops[row] }, { rowWidth(), s.rowHeights[row] } };
}

CGRect UITableViewLayout::rectForHeader(int section) const
{
    if (section < 0 || section >= sectionCount())
        return CGRectZero;
    auto& s = m_sections[section];
    return { { 0, s.headerTop }, { m_width, s.headerHeight } };
}

CGRect UITableViewLayout::rectForFooter(int section) const
{
    if (section < 0 || section >= sectionCount())
        return CGRectZero;
    auto& s = m_sections[section];
    return { { 0, s.footerTop }, { m_width, s.footerHeight } };
}

CGRect UITableViewLayout::rectForSection(int section) const
{
    if (section < 0 || section >= sectionCount())
        return CGRectZero;
    auto& s = m_sections[section];
    return { { 0, s.headerTop }, { m_width, s.bottom() - s.headerTop } };
}

int UITableViewLayout::sectionAtOrBelow(CGFloat y) const
{
    auto found = std::upper_bound(m_sections.begin(), m_sections.end(), y,
        [](CGFloat value, const UITableViewSectionLayout& s) { return value < s.bottom(); });
    return static_cast<int>(found - m_sections.begin());
}

std::optional<UITableViewLayout::RowPosition> UITableViewLayout::rowAtPoint(CGPoint point) const
{
    if (point.x < rowX() || point.x >= rowX() + rowWidth())
        return std::nullopt;
    int section = sectionAtOrBelow(point.y);
    if (section >= sectionCount())
        return std::nullopt;
    auto& s = m_sections[section];
    auto after = std::upper_bound(s.rowTops.begin(), s.rowTops.end(), point.y);
    if (after == s.rowTops.begin())
        return std::nullopt;
    int row = static_cast<int>(after - s.rowTops.begin()) - 1;
    if (point.y >= s.rowTops[row] + s.rowHeights[row])
        return std::nullopt;
    return RowPosition { section, row };
}

std::vector<UITableViewLayout::RowPosition> UITableViewLayout::rowsInBand(CGFloat top, CGFloat bottom) const
{
    std::vector<RowPosition> rows;
    for (int section = sectionAtOrBelow(top); section < sectionCount(); ++section) {
        auto& s = m_sections[section];
        if (s.headerTop >= bottom)
            break;
        auto first = std::upper_bound(s.rowTops.begin(), s.rowTops.end(), top);
        int row = first == s.rowTops.begin() ? 0 : static_cast<int>(first - s.rowTops.begin()) - 1;
        for (; row < s.rowCount() && s.rowTops[row] < bottom; ++row) {
            if (s.rowTops[row] + s.rowHeights[row] > top && s.rowHeights[row] > 0)
                rows.push_back({ section, row });
        }
    }
    return rows;
}

}
