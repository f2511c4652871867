#pragma once

// One row of the disabled-applications list: the application's icon and name drawn on white
// (clear with white text while highlighted or selected) and, for an application the list leaves
// alone, the bundle's marker image at the right. Every setter redraws the row.

#include "SwipeDrawnTableViewCell.h"

#include <foundation/NSString.h>
#include <runtime/RefPtr.h>
#include <uikit/UIFont.h>
#include <uikit/UIImage.h>

#include <string>

namespace pane {

class SwipeAppCell final : public SwipeDrawnTableViewCell {
    TORVANE_OBJECT(SwipeAppCell, SwipeDrawnTableViewCell)
public:
    static constexpr const char markerImagePath[] = "/System/Library/PreferenceBundles/TorvaneSettings.bundle/TQNever.png";

    static runtime::Ref<SwipeAppCell> create(uikit::UITableViewCellStyle style = uikit::UITableViewCellStyleDefault,
        std::string reuseIdentifier = {});

    // The name font, bold 20, made once and shared by every row for the life of the process.
    static uikit::UIFont& nameFont();

    foundation::NSString* appName() const { return m_appName.get(); }
    // Keeps a copy, so a caller's mutable string changing later does not change the row.
    void setAppName(const foundation::NSString* name);
    uikit::UIImage* appIcon() const { return m_appIcon.get(); }
    void setAppIcon(runtime::RefPtr<uikit::UIImage> icon);
    bool IsNever() const { return m_isNever; }
    void setIsNever(bool isNever);

    void drawContentView(uikit::CGRect rect) override;
    // The application's name: the row draws it, so the text label holds nothing.
    std::string accessibilityLabel() const override;

private:
    using SwipeDrawnTableViewCell::SwipeDrawnTableViewCell;

    runtime::RefPtr<foundation::NSString> m_appName;
    runtime::RefPtr<uikit::UIImage> m_appIcon;
    bool m_isNever { false };
};

}
