#pragma once

// The look both deliverables give their alerts: a dark rounded panel with a light border and a
// glossy highlight across its top, drawn in place of the system alert's blue-grey image. This file
// is compiled into each deliverable on its own, so the two never link against each other.

#include <graphics/Context.h>
#include <uikit/UIGeometry.h>

namespace uikit {
class UIAlertView;
}

namespace passalert {

// Clears the image of the alert's first direct subview that is exactly a UIImageView with tag 0
// (the stock background), so that the panel drawn by drawPanel shows. Image views of subclasses or
// with a tag keep their images.
void clearStockBackground(uikit::UIAlertView& alert);

// Draws the panel into the rectangle of the alert's drawRect.
void drawPanel(const graphics::CGContext& context, uikit::CGRect rect);

// A closed rounded rectangle as the context's current path: four arcs drawn through the corners,
// starting and ending at the middle of the left edge.
void addRoundedRect(const graphics::CGContext& context, uikit::CGRect rect, uikit::CGFloat radius);

}
