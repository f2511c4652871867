#include "TQAppCell.h"

#include <uikit/UIStringDrawing.h>

namespace tweak {

TORVANE_DEFINE_CLASS(TQAppCell)

runtime::Ref<TQAppCell> TQAppCell::create(uikit::UITableViewCellStyle style, std::string reuseIdentifier)
{
    return runtime::adoptRef(*new TQAppCell(style, std::move(reuseIdentifier)));
}

uikit::UIFont& TQAppCell::largeFont()
{
    static const runtime::Ref<uikit::UIFont> font = uikit::UIFont::boldSystemFontOfSize(18);
    return font.get();
}

void TQAppCell::drawContentView(uikit::CGRect rect)
{
    fillRowBackground(rect);
    if (m_memoryAmount) {
        static const runtime::Ref<uikit::UIFont> memoryFont = uikit::UIFont::systemFontOfSize(16);
        uikit::drawAtPointForWidth(*m_memoryAmount, { 157, 11 }, 95, memoryFont.get(), uikit::UILineBreakModeTailTruncation);
    }
    if (m_appName)
        uikit::drawAtPointForWidth(*m_appName, { 40, 9.5f }, 116, largeFont(), uikit::UILineBreakModeTailTruncation);
    if (m_appIcon)
        m_appIcon->drawInRect({ { 5, 5 }, { 30, 30 } });
}

}
