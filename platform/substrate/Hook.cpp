#include <substrate/Hook.h>

#include <cstdio>

namespace substrate {

void hookMessage(runtime::Class* cls, runtime::Selector selector, runtime::IMP replacement, runtime::IMP* original)
{
    if (!cls || selector.isNull() || !replacement) {
        std::fprintf(stderr, "substrate: refusing a hook without class, selector or replacement\n");
        if (original)
            *original = nullptr;
        return;
    }
    // Look up through superclasses: hooking an inherited operation installs the replacement on this
    // class and hands back the superclass's implementation to call through to.
    runtime::IMP previous = cls->lookup(selector);
    if (original)
        *original = previous;
    cls->addMethod(selector, replacement);
}

}
