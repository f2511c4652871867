#pragma once

#include <runtime/Forward.h>
#include <runtime/Object.h>
#include <runtime/Selector.h>
#include <runtime/SelectorName.h>

#include <cassert>
#include <string_view>
#include <utility>

namespace runtime {

// The typed implementation of an operation: receiver, selector, then the operation's arguments.
template<typename R, typename... Args>
using Implementation = R (*)(Object* self, Selector, Args...);

// One method-table operation: its selector and its signature together, so that registering,
// sending and hooking it are all checked against the same signature at compile time.
//
//     inline constinit const Operation<void(int state)> setApplicationStateOperation { "setApplicationState:" };
//
// Descriptors are constant-initialised and intern their selector on first use, so they can be used
// from any static initialiser, and a send never looks the name up again.
template<typename R, typename... Args>
class Operation<R(Args...)> {
public:
    using Implementation = runtime::Implementation<R, Args...>;

    constexpr explicit Operation(std::string_view name)
        : m_name(name)
    {
    }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    std::string_view name() const { return m_name.name(); }
    Selector selector() const { return m_name.selector(); }

    // Dispatches on `self`'s class, so a replacement installed with MSHookMessageEx runs instead
    // of the class's own implementation.
    R send(Object* self, Args... args) const
    {
        assert(self);
        Selector selector = this->selector();
        IMP untyped = self->objcClass().lookup(selector);
        assert(untyped && "the receiver's class has no implementation for this operation");
        return reinterpret_cast<Implementation>(untyped)(self, selector, std::forward<Args>(args)...);
    }

private:
    SelectorName m_name;
};

}
