#pragma once

// A font: a family, a point size and a weight. Text is laid out with Pango; "Nimbus Sans", which has
// Helvetica's widths, stands in for the system font ("Helvetica" on the device). fontWithName takes
// a family and a "-Bold" suffix ("Helvetica-Bold"); the Helvetica families name the system font.
// Text is laid out only with the graphics module's own font files (see graphics/Font.h), so any
// other family is drawn in the system font; the call gives nil only for an empty name or a size <= 0.

#include <runtime/Object.h>
#include <uikit/NSCoding.h>
#include <uikit/UIGeometry.h>

#include <string>

namespace uikit {

class UIFont : public runtime::Object, public NSCoding {
    TORVANE_OBJECT(UIFont, runtime::Object)
public:
    static runtime::Ref<UIFont> systemFontOfSize(CGFloat size);
    static runtime::Ref<UIFont> boldSystemFontOfSize(CGFloat size);
    static runtime::RefPtr<UIFont> fontWithName(const std::string& name, CGFloat size);

    // The name as asked for ("Helvetica-Bold"); the system fonts are "Helvetica" / "Helvetica-Bold".
    const std::string& fontName() const { return m_fontName; }
    // The family Pango uses ("Nimbus Sans" for the system font).
    const std::string& familyName() const { return m_familyName; }
    CGFloat pointSize() const { return m_pointSize; }
    bool isBold() const { return m_bold; }
    runtime::Ref<UIFont> fontWithSize(CGFloat size) const;
    // The same name and size in another family and weight.
    runtime::Ref<UIFont> withFamily(std::string family, bool bold) const;

    // Height of one line of text in this font, as Pango lays it out.
    CGFloat lineHeight() const;

    // Pango font description text, e.g. "Nimbus Sans Bold 14px".
    std::string pangoDescription() const;

    std::string description() const override;
    bool isEqual(const runtime::Object* other) const override;
    size_t hash() const override;


    void encodeWithCoder(NSCoder& coder) const override;
private:
    UIFont(std::string fontName, std::string familyName, CGFloat size, bool bold);

    std::string m_fontName;
    std::string m_familyName;
    CGFloat m_pointSize;
    bool m_bold;
};

}
