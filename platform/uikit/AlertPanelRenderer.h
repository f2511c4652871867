#pragma once

// The drawn looks of the system's modal panels: the alert's blue-grey panel, the action sheet's
// panel and the buttons of both. Each look is rendered once per size into a UIImage at the
// screen's scale, so the panels are ordinary image views (the alert's stock background is one,
// and subclasses may remove its image to draw their own).
//
// Also the two path helpers the other widgets share (rounded rectangles, vertical gradients).

#include <graphics/Context.h>
#include <quartzcore/LayerPainting.h>
#include <runtime/Ref.h>
#include <uikit/UIGeometry.h>

namespace uikit {

class UIImage;

enum class ModalButtonLook {
    AlertDefault, // an alert's other buttons
    AlertCancel, // an alert's cancel button: darker
    SheetDefault, // light face, dark title
    SheetDestructive, // red face, white title
    SheetCancel, // dark face, white title
};

enum class SheetPanelLook {
    BlueGrey, // UIActionSheetStyleDefault
    BlackTranslucent,
    BlackOpaque,
};

struct RGBA {
    CGFloat red, green, blue, alpha;
};

// A closed rounded rectangle as the current path (the layer painter's, shared by every panel).
using quartzcore::addRoundedRectPath;
// Fills the current clip within `rect` with a top-to-bottom gradient.
void fillVerticalGradient(const graphics::CGContext& context, CGRect rect, RGBA top, RGBA bottom);

runtime::Ref<UIImage> alertPanelImage(CGSize size);
runtime::Ref<UIImage> sheetPanelImage(CGSize size, SheetPanelLook look);
runtime::Ref<UIImage> modalButtonImage(CGSize size, ModalButtonLook look, bool highlighted);

}
