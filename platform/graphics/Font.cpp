#include <graphics/Font.h>
#include <graphics/PangoSupport.h>

#include <memory>

namespace graphics {

namespace {

struct ObjectRelease {
    void operator()(void* object) const { g_object_unref(object); }
};

struct FontOptionsRelease {
    void operator()(cairo_font_options_t* options) const { cairo_font_options_destroy(options); }
};

} // namespace

const cairo_font_options_t* textFontOptions()
{
    thread_local std::unique_ptr<cairo_font_options_t, FontOptionsRelease> options = [] {
        cairo_font_options_t* created = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(created, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(created, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_antialias(created, CAIRO_ANTIALIAS_GRAY);
        return std::unique_ptr<cairo_font_options_t, FontOptionsRelease>(created);
    }();
    return options.get();
}

PangoContext* pangoContext()
{
    thread_local std::unique_ptr<PangoContext, ObjectRelease> context = [] {
        PangoContext* created = pango_font_map_create_context(pango_cairo_font_map_get_default());
        pango_cairo_context_set_resolution(created, 72);
        pango_cairo_context_set_font_options(created, textFontOptions());
        pango_context_set_language(created, pango_language_from_string("en"));
        return std::unique_ptr<PangoContext, ObjectRelease>(created);
    }();
    return context.get();
}

PangoFontDescription* createFontDescription(const Font& font)
{
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.family.c_str());
    pango_font_description_set_weight(description, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    CGFloat size = font.pointSize > 0 ? font.pointSize : 1;
    pango_font_description_set_size(description, static_cast<gint>(size * PANGO_SCALE));
    return description;
}

FontMetrics fontMetrics(const Font& font)
{
    PangoFontDescription* description = createFontDescription(font);
    PangoFontMetrics* metrics = pango_context_get_metrics(pangoContext(), description, nullptr);
    pango_font_description_free(description);
    CGFloat ascent = static_cast<CGFloat>(pango_font_metrics_get_ascent(metrics)) / PANGO_SCALE;
    CGFloat descent = static_cast<CGFloat>(pango_font_metrics_get_descent(metrics)) / PANGO_SCALE;
    pango_font_metrics_unref(metrics);
    return { ascent, -descent, ascent + descent };
}

} // namespace graphics
