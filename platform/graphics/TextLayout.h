#pragma once

// Measuring and drawing text with Pango, in the ways UIKit's string drawing offers: one line at a
// point (optionally cut to a width), or wrapped into a box with an alignment. Sizes are the logical
// extents of the text in points, rounded out to whole points as UIKit reports them. Text is drawn in
// the context's fill colour and alpha, and casts the context's shadow.

#include <graphics/Context.h>
#include <graphics/Font.h>

#include <memory>
#include <optional>
#include <string_view>

typedef struct _PangoLayout PangoLayout;

namespace graphics {

// UIKit's values.
enum class LineBreakMode : int {
    WordWrap = 0,
    CharacterWrap = 1,
    Clip = 2,
    HeadTruncation = 3,
    TailTruncation = 4,
    MiddleTruncation = 5,
};

enum class TextAlignment : int {
    Left = 0,
    Center = 1,
    Right = 2,
};

class TextLayout {
public:
    // One line: line breaks in the text do not start new lines. Without a width the whole text is
    // laid out. With a width, text that does not fit is cut: the truncation modes replace the cut
    // part with an ellipsis (at the end, start or middle), the other modes clip it at the width.
    static TextLayout singleLine(std::string_view text, const Font& font, std::optional<CGFloat> width = {},
        LineBreakMode mode = LineBreakMode::TailTruncation);

    // Wrapped to the box's width: at word boundaries (words longer than a line break between
    // characters), or anywhere for CharacterWrap. Only whole lines that fit in the box's height are
    // kept, and at most `maximumLines` of them when that is positive; the first line is always kept,
    // even when it is taller than the box. When lines are left out, the truncation modes put an
    // ellipsis into the last kept line; the other modes just stop there. Each line is aligned within
    // the box's width. A box without width holds nothing.
    static TextLayout inBox(std::string_view text, const Font& font, CGSize box, LineBreakMode mode,
        TextAlignment alignment = TextAlignment::Left, int maximumLines = 0);

    // Width of the widest kept line (cut to the width or box) and height of the kept lines.
    CGSize size() const { return m_size; }
    int lineCount() const { return m_lineCount; }
    // True when an ellipsis replaced part of the text.
    bool isEllipsized() const;

    // Draws with the top-left of the layout (the box, for inBox) at `origin`.
    void draw(const CGContext& context, CGPoint origin) const;

private:
    TextLayout() = default;

    std::shared_ptr<PangoLayout> m_layout;
    CGSize m_size;
    int m_lineCount { 0 };
    // Where the first baseline belongs, below the top of the layout.
    CGFloat m_ascender { 0 };
    // Drawing is clipped to this size from the origin where lines or characters are cut.
    std::optional<CGSize> m_clip;
};

// sizeWithFont:
CGSize sizeOfText(std::string_view text, const Font& font);
// sizeWithFont:forWidth:lineBreakMode:
CGSize sizeOfText(std::string_view text, const Font& font, CGFloat width, LineBreakMode mode);
// sizeWithFont:constrainedToSize:lineBreakMode:
CGSize sizeOfText(std::string_view text, const Font& font, CGSize box, LineBreakMode mode);

// drawAtPoint:withFont:
CGSize drawText(const CGContext& context, std::string_view text, CGPoint point, const Font& font);
// drawAtPoint:forWidth:withFont:lineBreakMode:
CGSize drawText(const CGContext& context, std::string_view text, CGPoint point, CGFloat width, const Font& font,
    LineBreakMode mode);
// drawInRect:withFont:lineBreakMode:alignment:
CGSize drawText(const CGContext& context, std::string_view text, CGRect rect, const Font& font, LineBreakMode mode,
    TextAlignment alignment = TextAlignment::Left);

} // namespace graphics
