#pragma once

#include <runtime/MessageSend.h>

namespace substrate {

// Replaces `selector` of `cls` with `replacement` and stores the implementation it replaced (the
// class's own or an inherited one) in `*original`, so the replacement can call through. Instances
// of subclasses that do not override the operation run the replacement too.
void hookMessage(runtime::Class* cls, runtime::Selector selector, runtime::IMP replacement, runtime::IMP* original);

}

// The by-name form an add-on uses on the device: the caller names the signature, and nothing checks
// it against what the class registered.
template<typename R, typename... Args>
void MSHookMessageEx(runtime::Class* cls, runtime::Selector selector, runtime::Implementation<R, Args...> replacement,
    runtime::Implementation<R, Args...>* original)
{
    runtime::IMP kept = nullptr;
    substrate::hookMessage(cls, selector, runtime::toIMP(replacement), original ? &kept : nullptr);
    if (original)
        *original = reinterpret_cast<runtime::Implementation<R, Args...>>(kept);
}

// The typed form: the replacement and the slot for the original must have the operation's signature.
template<typename R, typename... Args>
void MSHookMessageEx(runtime::Class* cls, const runtime::Operation<R(Args...)>& operation,
    typename runtime::Operation<R(Args...)>::Implementation replacement,
    typename runtime::Operation<R(Args...)>::Implementation* original)
{
    MSHookMessageEx<R, Args...>(cls, operation.selector(), replacement, original);
}
