#pragma once

// The current graphics context stack of the main thread, and image contexts.
//
// drawRect, UIColor::set and UIImage/string drawing use the context on top of the stack.
// UIGraphicsBeginImageContextWithOptions pushes a new bitmap context; a scale of 0 means the main
// screen's (2). UIGraphicsEndImageContext pops it (and only an image context: an unbalanced call is
// ignored).

#include <graphics/Context.h>
#include <runtime/RefPtr.h>
#include <uikit/Forward.h>
#include <uikit/UIGeometry.h>

namespace uikit {

// A null handle when no context is current.
graphics::CGContext UIGraphicsGetCurrentContext();
void UIGraphicsPushContext(const graphics::CGContext& context);
// Pops the top context; ignored when the stack is empty.
void UIGraphicsPopContext();

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, CGFloat scale);
void UIGraphicsBeginImageContext(CGSize size);
// The current image context's content as an image of its scale; nil when the current context is
// not an image context.
runtime::RefPtr<UIImage> UIGraphicsGetImageFromCurrentImageContext();
void UIGraphicsEndImageContext();

// Pushes a context for the lifetime of the object.
class ScopedCurrentContext {
public:
    explicit ScopedCurrentContext(const graphics::CGContext& context) { UIGraphicsPushContext(context); }
    ~ScopedCurrentContext() { UIGraphicsPopContext(); }
    ScopedCurrentContext(const ScopedCurrentContext&) = delete;
    ScopedCurrentContext& operator=(const ScopedCurrentContext&) = delete;
};

}
