#include <uikit/UIGraphics.h>

#include <graphics/CurrentContext.h>
#include <uikit/UIImage.h>
#include <uikit/UIScreen.h>

#include <cmath>
#include <vector>

namespace uikit {

namespace {

struct ImageContext {
    graphics::CGContext context;
    CGFloat scale;
};

// Image contexts begun and not yet ended, innermost last. Main thread only, like drawing.
std::vector<ImageContext>& imageContexts()
{
    static std::vector<ImageContext> contexts;
    return contexts;
}

}

graphics::CGContext UIGraphicsGetCurrentContext()
{
    return graphics::currentContext();
}

void UIGraphicsPushContext(const graphics::CGContext& context)
{
    graphics::pushCurrentContext(context);
}

void UIGraphicsPopContext()
{
    graphics::popCurrentContext();
}

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale)
{
    if (!(scale > 0))
        scale = UIScreen::mainScreen().scale();
    int width = static_cast<int>(std::ceil(size.width * scale));
    int height = static_cast<int>(std::ceil(size.height * scale));
    auto context = graphics::CGBitmapContextCreate(width, height, scale);
    if (context && opaque) {
        // An opaque context starts black rather than transparent, as UIKit's does.
        graphics::CGContextSetGrayFillColor(context, 0, 1);
        graphics::CGContextFillRect(context, { {}, size });
    }
    // An empty size still pushes (a null context), so begin/end stay balanced for the caller.
    imageContexts().push_back({ context, scale });
    graphics::pushCurrentContext(context);
}

void UIGraphicsBeginImageContext(CGSize size)
{
    UIGraphicsBeginImageContextWithOptions(size, false, 1);
}

runtime::RefPtr<UIImage> UIGraphicsGetImageFromCurrentImageContext()
{
    auto& contexts = imageContexts();
    if (contexts.empty() || !(contexts.back().context == graphics::currentContext()) || !contexts.back().context)
        return nullptr;
    return UIImage::imageWithCGImage(graphics::CGBitmapContextCreateImage(contexts.back().context), contexts.back().scale);
}

void UIGraphicsEndImageContext()
{
    auto& contexts = imageContexts();
    if (contexts.empty() || !(contexts.back().context == graphics::currentContext()))
        return;
    contexts.pop_back();
    graphics::popCurrentContext();
}

}
