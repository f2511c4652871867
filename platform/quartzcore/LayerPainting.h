#pragma once

// Shared drawing helpers of the layer classes.

#include <graphics/Context.h>

namespace quartzcore {

// Replaces the current path with a rectangle whose corners are rounded by `radius` (a plain
// rectangle for 0). The radius is limited to half the shorter side.
void addRoundedRectPath(const graphics::CGContext& context, graphics::CGRect rect, graphics::CGFloat radius);

}
