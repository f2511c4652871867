#pragma once

#include <runtime/Object.h>

#include <cassert>
#include <utility>

namespace runtime {

// The typed implementation of an operation: receiver, selector, then the operation's arguments.
template<typename R, typename... Args>
using Implementation = R (*)(Object* self, Selector, Args...);

template<typename R, typename... Args>
IMP toIMP(Implementation<R, Args...> implementation) { return reinterpret_cast<IMP>(implementation); }

// Dispatches a method-table operation on `self`'s class, so that a replacement installed with
// MSHookMessageEx runs instead of the host's own implementation. The caller names the result
// and argument types exactly as the implementation was registered.
template<typename R, typename... Args>
R msgSend(Object* self, Selector selector, Args... args)
{
    assert(self);
    IMP implementation = self->objcClass().lookup(selector);
    assert(implementation && "msgSend: the class has no implementation for this selector");
    auto typed = reinterpret_cast<Implementation<R, Args...>>(implementation);
    return typed(self, selector, std::forward<Args>(args)...);
}

}
