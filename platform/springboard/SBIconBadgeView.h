#pragma once

// The red badge at the top-right corner of an icon: white text in a red capsule with a white rim,
// as iOS 6 draws it. Its width grows with the text.

#include <uikit/UIView.h>

#include <string>

namespace springboard {

class SBIconBadgeView : public uikit::UIView {
    TORVANE_OBJECT(SBIconBadgeView, uikit::UIView)
public:
    static runtime::Ref<SBIconBadgeView> create();

    static constexpr uikit::CGFloat height = 24;

    const std::string& text() const { return m_text; }
    // Sets the text and resizes the badge to fit it (keeping its right edge where it was).
    void setText(std::string text);
    // The width a badge with this text takes.
    static uikit::CGFloat widthForText(const std::string& text);

    void drawRect(uikit::CGRect rect) override;
    void encodeWithCoder(uikit::NSCoder& coder) const override;
    void initWithCoder(uikit::NSCoder& coder) override;

protected:
    SBIconBadgeView();

private:
    std::string m_text;
};

}
