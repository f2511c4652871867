#include <graphics/Font.h>
#include <graphics/PangoSupport.h>

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace graphics {

namespace {

struct ObjectRelease {
    void operator()(void* object) const { g_object_unref(object); }
};

// Text is laid out with these files and no others, so its widths do not depend on what else the
// machine has installed: Nimbus Sans has Helvetica's advance widths (the device's system font),
// and DejaVu Sans gives the characters Nimbus Sans lacks.
constexpr const char* kSystemFontFiles[] = {
    "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf",
    "/usr/share/fonts/opentype/urw-base35/NimbusSans-Bold.otf",
};
constexpr const char* kFallbackFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
};

// Any family asked for falls back to the system font, then to DejaVu Sans for missing characters.
constexpr const char kFallbackRules[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <match target="pattern">
    <edit name="family" mode="append_last" binding="weak">
      <string>Nimbus Sans</string>
      <string>DejaVu Sans</string>
    </edit>
  </match>
</fontconfig>
)";

bool fileExists(const char* path)
{
    struct stat status;
    return stat(path, &status) == 0 && S_ISREG(status.st_mode);
}

// A fontconfig configuration that knows only the files above; null when a system font file is
// missing (the package is not installed).
FcConfig* createTextFontConfig()
{
    for (const char* path : kSystemFontFiles) {
        if (!fileExists(path)) {
            std::fprintf(stderr, "graphics: %s is missing (Debian package fonts-urw-base35); text falls back to "
                "the fonts fontconfig finds and will not have the device's widths\n", path);
            return nullptr;
        }
    }
    FcConfig* config = FcConfigCreate();
    for (const char* path : kSystemFontFiles)
        FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(path));
    for (const char* path : kFallbackFontFiles) {
        if (fileExists(path))
            FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(path));
    }
    FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kFallbackRules), FcTrue);
    return config;
}

// This thread's font map (Pango font maps belong to one thread, like Pango's own default one).
PangoFontMap* textFontMap()
{
    thread_local std::unique_ptr<PangoFontMap, ObjectRelease> map = []() -> std::unique_ptr<PangoFontMap, ObjectRelease> {
        FcConfig* config = createTextFontConfig();
        if (!config)
            return std::unique_ptr<PangoFontMap, ObjectRelease>(PANGO_FONT_MAP(g_object_ref(pango_cairo_font_map_get_default())));
        PangoFontMap* created = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
        pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(created), config);
        FcConfigDestroy(config); // the font map holds its own reference
        return std::unique_ptr<PangoFontMap, ObjectRelease>(created);
    }();
    return map.get();
}

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
        PangoContext* created = pango_font_map_create_context(textFontMap());
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
    CGFloat size = font.pointSize > 0 ? font.pointSize : 1;
    return { kDeviceAscender * size, -kDeviceDescender * size, (kDeviceAscender + kDeviceDescender) * size };
}

} // namespace graphics
