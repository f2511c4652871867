#include <graphics/CurrentContext.h>

#include <vector>

namespace graphics {

namespace {

std::vector<CGContext>& stack()
{
    thread_local std::vector<CGContext> contexts;
    return contexts;
}

} // namespace

void pushCurrentContext(const CGContext& context) { stack().push_back(context); }

void popCurrentContext()
{
    if (!stack().empty())
        stack().pop_back();
}

CGContext currentContext() { return stack().empty() ? CGContext {} : stack().back(); }

} // namespace graphics
