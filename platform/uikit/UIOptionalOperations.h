#pragma once

// Optional operations of delegate and data-source protocols.
//
// A protocol (UITableViewDataSource, UIAlertViewDelegate, ...) is a C++ interface. Its required
// operations are pure virtual; its optional operations are virtual with a neutral default. A caller
// sends an optional operation only when the receiver answers respondsToSelector: for the operation's
// Objective-C selector, exactly as UIKit asks before it sends.
//
// Each optional operation is named once, as an OptionalOperation constant beside its protocol, in a
// namespace named after the protocol without its prefix. A new protocol adds its block the same way:
//
//     class UITableViewDelegate { ... virtual CGFloat tableViewHeightForRowAtIndexPath(...) ... };
//
//     namespace TableViewDelegate {
//     inline constinit const OptionalOperation heightForRow { "tableView:heightForRowAtIndexPath:" };
//     }
//
// An implementer does two things for each optional operation it wants to receive:
//
//   1. override the virtual function, and
//   2. register the operation in its class's method table when the class is defined:
//
//     TORVANE_DEFINE_CLASS_WITH_METHODS(MyDataSource, [](runtime::Class& cls) {
//         uikit::registerOptional(cls, { uikit::TableViewDelegate::heightForRow,
//                                        uikit::TableViewDelegate::didSelectRow });
//     })
//
// and a caller asks before it sends:
//
//     if (uikit::respondsToOptional(delegate, uikit::TableViewDelegate::heightForRow)) ...
//
// An override without registration is never called; a registration without an override receives
// the neutral default. Registrations are inherited by subclasses, like any method-table entry.
// Required operations are always sent and need no registration.
//
// The constants are constant-initialised (constinit), so classes may register them while libraries
// load. Each interns its selector the first time it is used, once, from whichever thread comes
// first, and keeps it: asking costs a method-table look-up and nothing more.

#include <runtime/Class.h>
#include <runtime/Object.h>
#include <runtime/Selector.h>
#include <runtime/SelectorName.h>

#include <functional>
#include <initializer_list>
#include <string_view>

namespace uikit {

class OptionalOperation {
public:
    // `selectorName` must outlive the operation; the constants give string literals.
    explicit constexpr OptionalOperation(std::string_view selectorName)
        : m_selector(selectorName)
    {
    }
    OptionalOperation(const OptionalOperation&) = delete;
    OptionalOperation& operator=(const OptionalOperation&) = delete;

    std::string_view selectorName() const { return m_selector.name(); }
    runtime::Selector selector() const { return m_selector.selector(); }

private:
    runtime::SelectorName m_selector;
};

namespace detail {
// The method-table entry of a registered optional operation. It is only ever looked up (by
// respondsToSelector), never called: the protocol's virtual function does the work.
inline void optionalOperationMarker() { }
}

inline void registerOptional(runtime::Class& cls, const OptionalOperation& operation)
{
    cls.addMethod(operation.selector(), &detail::optionalOperationMarker);
}

inline void registerOptional(runtime::Class& cls, std::initializer_list<std::reference_wrapper<const OptionalOperation>> operations)
{
    for (const OptionalOperation& operation : operations)
        registerOptional(cls, operation);
}

// Whether `receiver` (which may be null) takes the optional operation.
inline bool respondsToOptional(const runtime::Object* receiver, const OptionalOperation& operation)
{
    return receiver && receiver->respondsToSelector(operation.selector());
}

// The protocol interface `Protocol` of an object, or nullptr when it does not adopt it.
template<typename Protocol>
Protocol* protocolOf(runtime::Object* object)
{
    return dynamic_cast<Protocol*>(object);
}

}
