#pragma once

#include <runtime/Operation.h>

#include <type_traits>
#include <utility>

namespace runtime {

// The untyped table entry of a typed implementation, for comparing against Class::lookup.
template<typename R, typename... Args>
IMP toIMP(Implementation<R, Args...> implementation) { return reinterpret_cast<IMP>(implementation); }

// Sends `operation` to `self` through its class's method table (see Operation::send). The
// arguments convert to the operation's own parameter types, never the other way round.
template<typename R, typename... Args>
R msgSend(const Operation<R(Args...)>& operation, Object* self, std::type_identity_t<Args>... args)
{
    return operation.send(self, std::forward<Args>(args)...);
}

}
