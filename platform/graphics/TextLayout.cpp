#include <graphics/PangoSupport.h>
#include <graphics/TextLayout.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

namespace graphics {

namespace {

struct LayoutRelease {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};

bool isTruncation(LineBreakMode mode)
{
    return mode == LineBreakMode::HeadTruncation || mode == LineBreakMode::TailTruncation
        || mode == LineBreakMode::MiddleTruncation;
}

PangoEllipsizeMode ellipsizeMode(LineBreakMode mode)
{
    switch (mode) {
    case LineBreakMode::HeadTruncation:
        return PANGO_ELLIPSIZE_START;
    case LineBreakMode::TailTruncation:
        return PANGO_ELLIPSIZE_END;
    case LineBreakMode::MiddleTruncation:
        return PANGO_ELLIPSIZE_MIDDLE;
    default:
        return PANGO_ELLIPSIZE_NONE;
    }
}

PangoAlignment pangoAlignment(TextAlignment alignment)
{
    switch (alignment) {
    case TextAlignment::Center:
        return PANGO_ALIGN_CENTER;
    case TextAlignment::Right:
        return PANGO_ALIGN_RIGHT;
    default:
        return PANGO_ALIGN_LEFT;
    }
}

// Points to Pango units, kept within Pango's int range (a "no limit" box of 1e9 points stays huge).
int pangoUnits(CGFloat points)
{
    double units = std::ceil(static_cast<double>(points) * PANGO_SCALE);
    return static_cast<int>(std::clamp(units, 0.0, static_cast<double>(INT_MAX / 2)));
}

std::shared_ptr<PangoLayout> createLayout(std::string_view text, const Font& font)
{
    PangoLayout* layout = pango_layout_new(pangoContext());
    PangoFontDescription* description = createFontDescription(font);
    pango_layout_set_font_description(layout, description);
    pango_font_description_free(description);
    // Names and labels come from files anyone can write; broken UTF-8 becomes replacement characters
    // instead of reaching Pango, which would reject the whole text.
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    pango_layout_set_text(layout, valid, -1);
    g_free(valid);
    // Every line gets the device's line box (see kDeviceAscender), whatever font draws it.
    PangoAttrList* attributes = pango_attr_list_new();
    CGFloat size = font.pointSize > 0 ? font.pointSize : 1;
    pango_attr_list_insert(attributes,
        pango_attr_line_height_new_absolute(pangoUnits((kDeviceAscender + kDeviceDescender) * size)));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    return std::shared_ptr<PangoLayout>(layout, LayoutRelease());
}

CGSize logicalSize(PangoLayout* layout)
{
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    return CGSizeMake(static_cast<CGFloat>(logical.width), static_cast<CGFloat>(logical.height));
}

// Bottom edges of the layout's lines, in points from the top.
std::vector<CGFloat> lineBottoms(PangoLayout* layout)
{
    std::vector<CGFloat> bottoms;
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    do {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(iter, nullptr, &logical);
        pango_extents_to_pixels(&logical, nullptr);
        bottoms.push_back(static_cast<CGFloat>(logical.y + logical.height));
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
    return bottoms;
}

// Width of the widest of the first `count` lines, in whole points.
CGFloat widestLine(PangoLayout* layout, int count)
{
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        PangoLayoutLine* line = pango_layout_get_line_readonly(layout, i);
        if (!line)
            break;
        PangoRectangle logical;
        pango_layout_line_get_pixel_extents(line, nullptr, &logical);
        widest = std::max(widest, logical.width);
    }
    return static_cast<CGFloat>(widest);
}

} // namespace

TextLayout TextLayout::singleLine(std::string_view text, const Font& font, std::optional<CGFloat> width,
    LineBreakMode mode)
{
    TextLayout result;
    result.m_layout = createLayout(text, font);
    result.m_ascender = fontMetrics(font).ascender;
    PangoLayout* layout = result.m_layout.get();
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    result.m_lineCount = 1;
    if (width && *width <= 0) {
        pango_layout_set_text(layout, "", 0);
        result.m_size = CGSizeMake(0, logicalSize(layout).height);
        result.m_clip = CGSizeMake(0, 0);
        return result;
    }
    if (width && isTruncation(mode)) {
        pango_layout_set_width(layout, pangoUnits(*width));
        pango_layout_set_ellipsize(layout, ellipsizeMode(mode));
    }
    CGSize size = logicalSize(layout);
    if (width && size.width > *width) {
        size.width = *width;
        result.m_clip = size;
    }
    result.m_size = size;
    return result;
}

TextLayout TextLayout::inBox(std::string_view text, const Font& font, CGSize box, LineBreakMode mode,
    TextAlignment alignment, int maximumLines)
{
    TextLayout result;
    result.m_layout = createLayout(text, font);
    result.m_ascender = fontMetrics(font).ascender;
    PangoLayout* layout = result.m_layout.get();
    if (!(box.width > 0)) {
        pango_layout_set_text(layout, "", 0);
        result.m_clip = CGSizeMake(0, 0);
        return result;
    }
    pango_layout_set_width(layout, pangoUnits(box.width));
    pango_layout_set_wrap(layout, mode == LineBreakMode::CharacterWrap ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout, pangoAlignment(alignment));

    std::vector<CGFloat> bottoms = lineBottoms(layout);
    int kept = 1;
    while (kept < static_cast<int>(bottoms.size()) && bottoms[kept] <= box.height
        && (maximumLines <= 0 || kept < maximumLines))
        ++kept;
    bool linesLeftOut = kept < static_cast<int>(bottoms.size());

    if (linesLeftOut && isTruncation(mode)) {
        // Pango keeps the lines that fit in the height and ellipsises the last of them. Half a line
        // of slack keeps rounding from costing the last line.
        CGFloat lastHeight = bottoms[kept - 1] - (kept > 1 ? bottoms[kept - 2] : 0);
        pango_layout_set_ellipsize(layout, ellipsizeMode(mode));
        pango_layout_set_height(layout, pangoUnits(bottoms[kept - 1] + lastHeight / 2));
        result.m_lineCount = pango_layout_get_line_count(layout);
        result.m_size = logicalSize(layout);
        return result;
    }
    result.m_lineCount = kept;
    result.m_size = CGSizeMake(std::min(widestLine(layout, kept), box.width), bottoms[kept - 1]);
    if (linesLeftOut)
        result.m_clip = CGSizeMake(box.width, bottoms[kept - 1]);
    return result;
}

bool TextLayout::isEllipsized() const
{
    return m_layout && pango_layout_is_ellipsized(m_layout.get());
}

void TextLayout::draw(const CGContext& context, CGPoint origin) const
{
    if (!context || !m_layout)
        return;
    ColorRGBA color = context.effectiveFillColor();
    context.drawOperation([&](cairo_t* cr) {
        cairo_save(cr);
        if (m_clip) {
            cairo_rectangle(cr, origin.x, origin.y, m_clip->width, m_clip->height);
            cairo_clip(cr);
        }
        cairo_set_font_options(cr, textFontOptions());
        cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
        // Pango centres the font's own line box in the taller line it was given; the glyphs move
        // down to sit on the device's baseline.
        CGFloat baseline = static_cast<CGFloat>(pango_layout_get_baseline(m_layout.get())) / PANGO_SCALE;
        cairo_move_to(cr, origin.x, origin.y + (m_ascender - baseline));
        pango_cairo_show_layout(cr, m_layout.get());
        cairo_new_path(cr);
        cairo_restore(cr);
    });
}

CGSize sizeOfText(std::string_view text, const Font& font)
{
    return TextLayout::singleLine(text, font).size();
}

CGSize sizeOfText(std::string_view text, const Font& font, CGFloat width, LineBreakMode mode)
{
    return TextLayout::singleLine(text, font, width, mode).size();
}

CGSize sizeOfText(std::string_view text, const Font& font, CGSize box, LineBreakMode mode)
{
    return TextLayout::inBox(text, font, box, mode).size();
}

CGSize drawText(const CGContext& context, std::string_view text, CGPoint point, const Font& font)
{
    TextLayout layout = TextLayout::singleLine(text, font);
    layout.draw(context, point);
    return layout.size();
}

CGSize drawText(const CGContext& context, std::string_view text, CGPoint point, CGFloat width, const Font& font,
    LineBreakMode mode)
{
    TextLayout layout = TextLayout::singleLine(text, font, width, mode);
    layout.draw(context, point);
    return layout.size();
}

CGSize drawText(const CGContext& context, std::string_view text, CGRect rect, const Font& font, LineBreakMode mode,
    TextAlignment alignment)
{
    TextLayout layout = TextLayout::inBox(text, font, rect.size, mode, alignment);
    layout.draw(context, rect.origin);
    return layout.size();
}

} // namespace graphics
