#include <uikit/ViewRendering.h>

#include <foundation/NSData.h>
#include <uikit/UIView.h>

#include <cmath>

namespace uikit {

void renderViewInContext(UIView& view, const graphics::CGContext& context)
{
    runtime::Ref<UIView> protect(view);
    view.layoutIfNeeded();
    // The layer draws itself at its frame; shift so that the view's bounds origin lands on the
    // context's origin, whatever its position in a superview.
    CGRect frame = view.layer().presentationFrame();
    CGPoint boundsOrigin = view.bounds().origin;
    graphics::CGContextSaveGState(context);
    graphics::CGContextTranslateCTM(context, -frame.origin.x + boundsOrigin.x, -frame.origin.y + boundsOrigin.y);
    view.layer().renderInContext(context);
    graphics::CGContextRestoreGState(context);
}

graphics::CGImage renderViewToImage(UIView& view, CGFloat scale)
{
    if (!(scale > 0))
        scale = 1;
    CGSize size = view.bounds().size;
    auto context = graphics::CGBitmapContextCreate(static_cast<int>(std::ceil(size.width * scale)),
        static_cast<int>(std::ceil(size.height * scale)), scale);
    if (!context)
        return {};
    renderViewInContext(view, context);
    return graphics::CGBitmapContextCreateImage(context);
}

runtime::RefPtr<foundation::NSData> renderViewToPNG(UIView& view, CGFloat scale)
{
    auto bytes = graphics::CGImageCreatePNGData(renderViewToImage(view, scale));
    if (bytes.empty())
        return nullptr;
    return foundation::NSData::create(std::move(bytes));
}

}
