#pragma once

// Internal to the graphics module: the Pango objects behind Font and TextLayout.

#include <graphics/Font.h>

#include <pango/pangocairo.h>

namespace graphics {

// This thread's Pango context: 72 dots per inch, no hinting of metrics, so text measures the same
// whatever it is later drawn onto (sizes do not depend on the target's scale).
PangoContext* pangoContext();
// The font options the context uses, for drawing with the same settings.
const cairo_font_options_t* textFontOptions();
// The caller frees the description with pango_font_description_free.
PangoFontDescription* createFontDescription(const Font& font);

} // namespace graphics
