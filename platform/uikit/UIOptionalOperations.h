#pragma once

// Optional operations of delegate and data-source protocols.
//
// A protocol (UITableViewDataSource, UIAlertViewDelegate, ...) is a C++ interface. Its required
// operations are pure virtual; its optional operations are virtual with a neutral default. A caller
// sends an optional operation only when the receiver answers respondsToSelector: for the operation's
// Objective-C selector, exactly as UIKit asks before it sends. An implementer therefore does two
// things for each optional operation it wants to receive:
//
//   1. override the virtual function, and
//   2. register the selector in its class's method table when the class is defined:
//
//     TORVANE_DEFINE_CLASS_WITH_METHODS(MyDataSource, [](runtime::Class& cls) {
//         uikit::registerOptional(cls, { "tableView:heightForRowAtIndexPath:",
//                                        "tableView:didSelectRowAtIndexPath:" });
//     })
//
// An override without registration is never called; a registration without an override receives
// the neutral default. Registrations are inherited by subclasses, like any method-table entry.
// Required operations are always sent and need no registration.

#include <runtime/Class.h>
#include <runtime/Object.h>
#include <runtime/Selector.h>

#include <initializer_list>
#include <string_view>

namespace uikit {

namespace detail {
// The method-table entry of a registered optional operation. It is only ever looked up (by
// respondsToSelector), never called: the protocol's virtual function does the work.
inline void optionalOperationMarker() { }
}

inline void registerOptional(runtime::Class& cls, runtime::Selector selector)
{
    cls.addMethod(selector, &detail::optionalOperationMarker);
}

inline void registerOptional(runtime::Class& cls, std::initializer_list<std::string_view> selectors)
{
    for (auto name : selectors)
        registerOptional(cls, runtime::sel(name));
}

// Whether `receiver` (which may be null) takes the optional operation named `selector`.
inline bool respondsToOptional(const runtime::Object* receiver, std::string_view selector)
{
    return receiver && receiver->respondsToSelector(runtime::sel(selector));
}

// The protocol interface `Protocol` of an object, or nullptr when it does not adopt it.
template<typename Protocol>
Protocol* protocolOf(runtime::Object* object)
{
    return dynamic_cast<Protocol*>(object);
}

}
