#pragma once

// Internal to uikit: where everything of a table lies, in content coordinates (y from the top of
// the content, before scrolling). Built from the counts and heights the data source and delegate
// give; lookups by y are binary searches, so large tables stay cheap.
//
// Vertical order: the table header view, then for each section its header, its rows and its
// footer, then the table footer view. Rows of a plain table span the whole width; a grouped
// table's rows are inset by groupInset on both sides.

#include <runtime/RefPtr.h>
#include <uikit/UIGeometry.h>
#include <uikit/UITableViewProtocols.h>

#include <optional>
#include <string>
#include <vector>

namespace uikit {

class UIView;

struct UITableViewSectionLayout {
    CGFloat headerTop { 0 };
    CGFloat headerHeight { 0 };
    std::vector<CGFloat> rowTops;
    std::vector<CGFloat> rowHeights;
    CGFloat footerTop { 0 };
    CGFloat footerHeight { 0 };
    std::optional<std::string> headerTitle;
    std::optional<std::string> footerTitle;
    // What stands in the header and footer: the delegate's view or a view showing the title.
    runtime::RefPtr<UIView> headerView;
    runtime::RefPtr<UIView> footerView;

    int rowCount() const { return static_cast<int>(rowTops.size()); }
    CGFloat bottom() const { return footerTop + footerHeight; }
};

class UITableViewLayout {
public:
    static constexpr CGFloat groupInset = 10;

    UITableViewLayout() = default;
    UITableViewLayout(UITableViewStyle style, CGFloat width)
        : m_style(style)
        , m_width(width)
    {
    }

    UITableViewStyle style() const { return m_style; }
    CGFloat width() const { return m_width; }

    // Building, top to bottom.
    void setTableHeaderHeight(CGFloat height);
    void addSection(UITableViewSectionLayout section);
    void setTableFooterHeight(CGFloat height);

    int sectionCount() const { return static_cast<int>(m_sections.size()); }
    int rowCount(int section) const;
    const UITableViewSectionLayout& section(int index) const { return m_sections.at(index); }
    std::vector<UITableViewSectionLayout>& sections() { return m_sections; }
    bool containsRow(int section, int row) const { return section >= 0 && section < sectionCount() && row >= 0 && row < rowCount(section); }

    CGFloat contentHeight() const;
    CGFloat tableHeaderHeight() const { return m_tableHeaderHeight; }
    CGFloat tableFooterTop() const;

    // CGRectZero for rows, sections and headers that do not exist.
    CGRect rectForRow(int section, int row) const;
    CGRect rectForHeader(int section) const;
    CGRect rectForFooter(int section) const;
    CGRect rectForSection(int section) const;

    struct RowPosition {
        int section;
        int row;
    };
    // The row whose rectangle holds the point (headers, footers, gaps and grouped margins hold none).
    std::optional<RowPosition> rowAtPoint(CGPoint point) const;
    // Every row that overlaps the band [top, bottom), in order.
    std::vector<RowPosition> rowsInBand(CGFloat top, CGFloat bottom) const;

private:
    CGFloat rowX() const { return m_style == UITableViewStyleGrouped ? groupInset : 0; }
    CGFloat rowWidth() const;
    // The first section whose end lies below y.
    int sectionAtOrBelow(CGFloat y) const;

    UITableViewStyle m_style { UITableViewStylePlain };
    CGFloat m_width { 0 };
    CGFloat m_tableHeaderHeight { 0 };
    CGFloat m_tableFooterHeight { 0 };
    std::vector<UITableViewSectionLayout> m_sections;
};

}
