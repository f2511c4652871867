#pragma once

// Internal to uikit: the header or footer a table shows for a section title.
//
// Plain tables show a title on a grey-blue gradient bar, 22 points high, bold white text. Grouped
// tables show header titles as bold slate text over the left end of the group and footer titles
// as smaller centred slate text under it, both with a white engraving and wrapped to the width.

#include <uikit/UIView.h>

#include <string>

namespace uikit {

class TableSectionTitleView final : public UIView {
    TORVANE_OBJECT(TableSectionTitleView, UIView)
public:
    enum class Kind { PlainHeader, PlainFooter, GroupedHeader, GroupedFooter };

    static runtime::Ref<TableSectionTitleView> create(Kind kind, std::string title);

    Kind kind() const { return m_kind; }
    const std::string& title() const { return m_title; }

    // The height the title needs in a table `width` points wide.
    static CGFloat heightFor(Kind kind, const std::string& title, CGFloat width);

    void drawRect(CGRect rect) override;

private:
    TableSectionTitleView(Kind kind, std::string title);

    Kind m_kind;
    std::string m_title;
};

}
