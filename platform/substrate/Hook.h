#pragma once

#include <runtime/MessageSend.h>

namespace substrate {

// Replaces `selector` of `cls` with `replacement` and stores the implementation it replaced (the
// class's own or an inherited one) in `*original`, so the replacement can call through. Instances
// of subclasses that do not override the operation run the replacement too.
void hookMessage(runtime::Class* cls, runtime::Selector selector, runtime::IMP replacement, runtime::IMP* original);

}

template<typename R, typename... Args>
void MSHookMessageEx(runtime::Class* cls, runtime::Selector selector, runtime::Implementation<R, Args...> replacement,
    runtime::Implementation<R, Args...>* original)
{
    runtime::IMP kept = nullptr;
    substrate::hookMessage(cls, selector, runtime::toIMP(replacement), original ? &kept : nullptr);
    if (original)
        *original = reinterpret_cast<runtime::Implementation<R, Args...>>(kept);
}
