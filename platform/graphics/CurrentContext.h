#pragma once

// The stack of current drawing contexts, for UIGraphicsPushContext / PopContext /
// GetCurrentContext. One stack per thread, as UIKit keeps it: views draw on the main thread, and
// a thread that renders off-screen never sees the main thread's context.

#include <graphics/Context.h>

namespace graphics {

void pushCurrentContext(const CGContext& context);
// Popping an empty stack does nothing.
void popCurrentContext();
// The context on top of the stack; the null context when the stack is empty.
CGContext currentContext();

} // namespace graphics
