#include "SwipeAppCell.h"

#include <uikit/UIStringDrawing.h>

namespace pane {

TORVANE_DEFINE_CLASS(SwipeAppCell)

runtime::Ref<SwipeAppCell> SwipeAppCell::create(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
{
    return runtime::adoptRef(*new SwipeAppCell(style, std::move(reuseIdentifier)));
}

uikit::UIFont& SwipeAppCell::nameFont()
{
    static const runtime::Ref<uikit::UIFont> font = uikit::UIFont::boldSystemFontOfSize(20);
    return font.get();
}

void SwipeAppCell::setAppName(const foundation::NSString* name)
{
    m_appName = name ? runtime::RefPtr<foundation::NSString>(foundation::NSString::create(name->string())) : nullptr;
    setNeedsDisplay();
}

void SwipeAppCell::setAppIcon(runtime::RefPtr<uikit::UIImage> icon)
{
    m_appIcon = std::move(icon);
    setNeedsDisplay();
}

void SwipeAppCell::setIsNever(bool isNever)
{
    m_isNever = isNever;
    setNeedsDisplay();
}

std::string SwipeAppCell::accessibilityLabel() const
{
    return m_appName ? m_appName->string() : std::string();
}

void SwipeAppCell::drawContentView(uikit::CGRect rect)
{
    fillRowBackground(rect);
    if (m_appName)
        uikit::drawAtPointForWidth(m_appName->string(), { 44, 11 }, 200, nameFont(), uikit::UILineBreakModeTailTruncation);
    if (m_appIcon)
        m_appIcon->drawInRect({ { 5, 7 }, { 30, 30 } });
    if (m_isNever) {
        if (auto marker = uikit::UIImage::imageWithContentsOfFile(markerImagePath))
            marker->drawAtPoint({ 257, 5 });
    }
}

}
