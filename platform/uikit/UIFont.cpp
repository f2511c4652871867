#include <uikit/UIFont.h>

#include <graphics/Font.h>

#include <cstdio>
#include <functional>

namespace uikit {

TORVANE_DEFINE_CLASS(UIFont)

namespace {

constexpr const char* systemFontName = "Helvetica";
constexpr const char* boldSystemFontName = "Helvetica-Bold";

bool endsWith(const std::string& text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}

UIFont::UIFont(std::string fontName, std::string familyName, CGFloat size, bool bold)
    : m_fontName(std::move(fontName))
    , m_familyName(std::move(familyName))
    , m_pointSize(size)
    , m_bold(bold)
{
}

runtime::Ref<UIFont> UIFont::systemFontOfSize(CGFloat size)
{
    return runtime::adoptRef(*new UIFont(systemFontName, graphics::kSystemFontFamily, size, false));
}

runtime::Ref<UIFont> UIFont::boldSystemFontOfSize(CGFloat size)
{
    return runtime::adoptRef(*new UIFont(boldSystemFontName, graphics::kSystemFontFamily, size, true));
}

runtime::RefPtr<UIFont> UIFont::fontWithName(const std::string& name, CGFloat size)
{
    if (name.empty() || !(size > 0))
        return nullptr;
    std::string family = name;
    bool bold = false;
    if (endsWith(family, "-Bold")) {
        family.resize(family.size() - 5);
        bold = true;
    }
    // The device's system font family is not installed here; Nimbus Sans, with its widths, stands in.
    if (family == "Helvetica" || family == "HelveticaNeue" || family == ".HelveticaNeueUI")
        family = graphics::kSystemFontFamily;
    return runtime::adoptRef(*new UIFont(name, family, size, bold));
}

runtime::Ref<UIFont> UIFont::fontWithSize(CGFloat size) const
{
    return runtime::adoptRef(*new UIFont(m_fontName, m_familyName, size, m_bold));
}

CGFloat UIFont::lineHeight() const
{
    return graphics::fontMetrics({ m_familyName, m_pointSize, m_bold }).lineHeight;
}

std::string UIFont::pangoDescription() const
{
    char size[32];
    std::snprintf(size, sizeof size, " %gpx", static_cast<double>(m_pointSize));
    return m_familyName + (m_bold ? " Bold" : "") + size;
}

std::string UIFont::description() const
{
    char text[128];
    std::snprintf(text, sizeof text, "<UIFont: %p> font-family: \"%s\"; font-weight: %s; font-size: %gpt",
        static_cast<const void*>(this), m_familyName.c_str(), m_bold ? "bold" : "normal", static_cast<double>(m_pointSize));
    return text;
}

bool UIFont::isEqual(const runtime::Object* other) const
{
    auto font = runtime::dynamicCast<UIFont>(other);
    return font && font->m_familyName == m_familyName && font->m_pointSize == m_pointSize && font->m_bold == m_bold;
}

size_t UIFont::hash() const
{
    return std::hash<std::string>()(m_familyName) ^ std::hash<float>()(m_pointSize) ^ (m_bold ? 1 : 0);
}

}

namespace uikit {

void UIFont::encodeWithCoder(NSCoder& coder) const
{
    coder.encodeString(m_fontName, "UIFontName");
    coder.encodeString(m_familyName, "UIFontFamily");
    coder.encodeDouble(m_pointSize, "UIFontSize");
    coder.encodeBool(m_bold, "UIFontBold");
}

namespace {

runtime::RefPtr<runtime::Object> decodeFont(NSCoder& coder)
{
    std::string name = coder.decodeString("UIFontName");
    std::string family = coder.decodeString("UIFontFamily");
    auto size = static_cast<CGFloat>(coder.decodeDouble("UIFontSize"));
    if (name.empty() || family.empty() || !(size > 0))
        return nullptr;
    auto font = UIFont::fontWithName(name, size);
    if (!font)
        return nullptr;
    // The stored family and weight win over what the name would give today.
    return font->withFamily(std::move(family), coder.decodeBool("UIFontBold"));
}

[[maybe_unused]] const bool fontArchivable = ArchivableClasses::addDecoder(UIFont::staticClass(), decodeFont);

}

runtime::Ref<UIFont> UIFont::withFamily(std::string family, bool bold) const
{
    return runtime::adoptRef(*new UIFont(m_fontName, std::move(family), m_pointSize, bold));
}

}
