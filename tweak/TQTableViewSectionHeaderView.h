#pragma once

#include <runtime/Ref.h>
#include <uikit/UIView.h>

#include <string>

namespace tweak {

// A section header of a table alert: the title in white with a dark copy one point above it, on a
// translucent dark blue band with a light line on top and a dark one at the bottom.
class TQTableViewSectionHeaderView final : public uikit::UIView {
    TORVANE_OBJECT(TQTableViewSectionHeaderView, uikit::UIView)
public:
    static constexpr uikit::CGFloat height = 25;

    // initWithTitle: (zero frame; the table places it).
    static runtime::Ref<TQTableViewSectionHeaderView> create(std::string title);

    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }

    void drawRect(uikit::CGRect rect) override;

private:
    explicit TQTableViewSectionHeaderView(std::string title);

    std::string m_title;
};

}
