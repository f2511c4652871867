#pragma once

#include "SMDrawnTableViewCell.h"

#include <runtime/RefPtr.h>
#include <uikit/UIFont.h>
#include <uikit/UIImage.h>

#include <optional>
#include <string>

namespace tweak {

// One row of the quick-killer popup: the application's icon, name and memory use drawn on white
// (clear with white text while highlighted or selected). The bundle identifier is kept for the
// popup and never drawn. The row's kill button is not part of the cell: the popup adds it as a
// subview on top, tagged TorvaneActivatorSetup::killButtonTag, so any view can stand there.
//
// Setting a property does not redraw; the popup calls setNeedsDisplay once all four are set.
//
// Nothing of the row is in a label, so it answers VoiceOver itself: the application's name as its
// accessibility label, the memory text as its value, and the bundle identifier as its
// accessibility identifier (never spoken, but what a testing tool finds the row by).
class TQAppCell final : public SMDrawnTableViewCell {
    TORVANE_OBJECT(TQAppCell, SMDrawnTableViewCell)
public:
    static runtime::Ref<TQAppCell> create(uikit::UITableViewCellStyle style = uikit::UITableViewCellStyleDefault,
        std::string reuseIdentifier = {});

    // The name font, bold 18, made once for every row.
    static uikit::UIFont& largeFont();

    const std::optional<std::string>& appName() const { return m_appName; }
    void setAppName(std::optional<std::string> name) { m_appName = std::move(name); }
    const std::optional<std::string>& appID() const { return m_appID; }
    void setAppID(std::optional<std::string> identifier)
    {
        setAccessibilityIdentifier(identifier.value_or(""));
        m_appID = std::move(identifier);
    }
    uikit::UIImage* appIcon() const { return m_appIcon.get(); }
    void setAppIcon(runtime::RefPtr<uikit::UIImage> icon) { m_appIcon = std::move(icon); }
    const std::optional<std::string>& memoryAmount() const { return m_memoryAmount; }
    void setMemoryAmount(std::optional<std::string> amount) { m_memoryAmount = std::move(amount); }

    void drawContentView(uikit::CGRect rect) override;
    std::string accessibilityLabel() const override { return m_appName.value_or(""); }
    std::string accessibilityValue() const override { return m_memoryAmount.value_or(""); }

private:
    using SMDrawnTableViewCell::SMDrawnTableViewCell;

    std::optional<std::string> m_appName;
    std::optional<std::string> m_appID;
    runtime::RefPtr<uikit::UIImage> m_appIcon;
    std::optional<std::string> m_memoryAmount;
};

}
