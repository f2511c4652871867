#pragma once

// Rendering view trees to pictures. A view is drawn with its layer tree: background colour, drawRect
// content (clipped to the view's bounds), subviews, border on top; alpha applies to the view and
// its subviews as one group; hidden views and views with alpha 0 are skipped; clipsToBounds clips
// the subviews to the (rounded) bounds. Pending layout runs first. Animated layers are drawn as
// they are at the main run loop's current time.

#include <graphics/Context.h>
#include <graphics/Image.h>
#include <runtime/RefPtr.h>
#include <uikit/Forward.h>
#include <uikit/UIGeometry.h>

#include <string>

namespace uikit {

// The view with its bounds' top-left at the context's origin.
void renderViewInContext(UIView& view, const graphics::CGContext& context);
// A transparent bitmap of the view's bounds size at `scale` pixels per point.
graphics::CGImage renderViewToImage(UIView& view, CGFloat scale = 2);
// PNG bytes of renderViewToImage.
runtime::RefPtr<foundation::NSData> renderViewToPNG(UIView& view, CGFloat scale = 2);

}
