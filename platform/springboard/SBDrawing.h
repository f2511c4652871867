#pragma once

// Small drawing helpers shared by SpringBoard's views.

#include <graphics/Context.h>

namespace springboard {

// A closed rounded-rectangle path (replacing the current path).
void addRoundedRect(const graphics::CGContext& context, graphics::CGRect rect, graphics::CGFloat radius);
// A vertical gradient between two colours filling `rect` (clipped to it).
void fillVerticalGradient(const graphics::CGContext& context, graphics::CGRect rect, graphics::ColorRGBA top, graphics::ColorRGBA bottom);
// iOS's dark linen: a grey field with fine woven lines.
void fillLinen(const graphics::CGContext& context, graphics::CGRect rect);

}
