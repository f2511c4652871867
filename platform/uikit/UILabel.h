#pragma once

// A view that shows text. Defaults as in iOS 6: system font 17, black text, white background,
// left aligned, one line, tail truncation, no shadow (shadow offset (0, -1) once a colour is set).
// The text is centred vertically in the bounds; with numberOfLines 0 it wraps without limit.

#include <runtime/RefPtr.h>
#include <uikit/UIFont.h>
#include <uikit/UITextTypes.h>
#include <uikit/UIView.h>

#include <string>

namespace uikit {

class UILabel : public UIView {
    TORVANE_OBJECT(UILabel, UIView)
public:
    static runtime::Ref<UILabel> create(CGRect frame = CGRectZero);

    const std::string& text() const { return m_text; }
    void setText(std::string text);
    UIFont& font() const { return m_font.get(); }
    void setFont(runtime::Ref<UIFont> font);
    UIColor& textColor() const { return m_textColor.get(); }
    void setTextColor(runtime::Ref<UIColor> color);
    UIColor* highlightedTextColor() const { return m_highlightedTextColor.get(); }
    void setHighlightedTextColor(runtime::RefPtr<UIColor> color);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    UITextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(UITextAlignment alignment);
    UILineBreakMode lineBreakMode() const { return m_lineBreakMode; }
    void setLineBreakMode(UILineBreakMode mode);
    int numberOfLines() const { return m_numberOfLines; }
    void setNumberOfLines(int lines);
    UIColor* shadowColor() const { return m_shadowColor.get(); }
    void setShadowColor(runtime::RefPtr<UIColor> color);
    CGSize shadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(CGSize offset);
    // A one-line text wider than the label is drawn in a smaller size of its font, down to
    // minimumFontSize, before it is truncated. Off by default.
    bool adjustsFontSizeToFitWidth() const { return m_adjustsFontSizeToFitWidth; }
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    CGFloat minimumFontSize() const { return m_minimumFontSize; }
    void setMinimumFontSize(CGFloat size);
    // The font the text is drawn in within `width`: the label's own, or a smaller size of it.
    runtime::Ref<UIFont> fontFittingWidth(CGFloat width) const;

    // The text's rectangle within `bounds` for at most `numberOfLines` lines (0: any number).
    virtual CGRect textRectForBounds(CGRect bounds, int numberOfLines) const;
    // Draws the text (shadow first) in `rect`, centred vertically.
    virtual void drawTextInRect(CGRect rect);

    CGSize sizeThatFits(CGSize size) const override;
    void drawRect(CGRect rect) override;

    void encodeWithCoder(NSCoder& coder) const override;
    void initWithCoder(NSCoder& coder) override;

protected:
    explicit UILabel(CGRect frame);

private:
    std::string m_text;
    runtime::Ref<UIFont> m_font;
    runtime::Ref<UIColor> m_textColor;
    runtime::RefPtr<UIColor> m_highlightedTextColor;
    runtime::RefPtr<UIColor> m_shadowColor;
    CGSize m_shadowOffset { 0, -1 };
    UITextAlignment m_textAlignment { UITextAlignmentLeft };
    UILineBreakMode m_lineBreakMode { UILineBreakModeTailTruncation };
    int m_numberOfLines { 1 };
    bool m_highlighted { false };
    bool m_enabled { true };
    bool m_adjustsFontSizeToFitWidth { false };
    CGFloat m_minimumFontSize { 0 };
};

}
