#pragma once

// Optional operations of delegate and data-source protocols.
//
// A protocol (UITableViewDataSource, UIAlertViewDelegate, ...) is a C++ interface. Its required
// operations are pure virtual; its optional operations are virtual with a neutral default. A caller
// sends an optional operation only when the receiver answers respondsToSelector: for the operation's
// Objective-C selector, exactly as UIKit asks before it sends.
//
// Each optional operation is named once, as an OptionalOperation constant beside its protocol, in a
// namespace named after the protocol without its prefix; and the protocol lists once which of its
// members implements each, in registerOverrides. A new protocol adds both the same way:
//
//     class UITableViewDelegate {
//     public:
//         virtual CGFloat tableViewHeightForRowAtIndexPath(...) { ... }
//         template<typename T> static void registerOverrides(runtime::Class&);
//     };
//
//     namespace TableViewDelegate {
//     inline constexpr const runtime::ProtocolDescriptor& protocol = runtime::protocolDescriptor<UITableViewDelegate>;
//     inline constinit const OptionalOperation heightForRow { protocol, "tableView:heightForRowAtIndexPath:" };
//     }
//
//     template<typename T>
//     void UITableViewDelegate::registerOverrides(runtime::Class& cls)
//     {
//         registerIfOverridden<UITableViewDelegate>(cls, &T::tableViewHeightForRowAtIndexPath, TableViewDelegate::heightForRow);
//     }
//
// An implementer names the protocols it adopts once (runtime/Protocols.h) and overrides the
// optional operations it wants to receive; nothing else:
//
//     class MyDelegate : public runtime::Object, public uikit::UITableViewDelegate {
//         TORVANE_OBJECT(MyDelegate, runtime::Object)
//         TORVANE_ADOPTS(uikit::UITableViewDelegate)
//     public:
//         CGFloat tableViewHeightForRowAtIndexPath(UITableView&, NSIndexPath&) override;
//     };
//
// When its class object is built, every operation it (or a superclass) overrides is registered in
// its method table, so it answers respondsToSelector YES for exactly those, and a caller asks
// before it sends:
//
//     if (uikit::respondsToOptional(delegate, uikit::TableViewDelegate::heightForRow)) ...
//
// An object that implements a protocol whose class never named it would never hear its overrides;
// respondsToOptional stops the process instead of answering for it (see runtime/Protocols.h).
// Required operations are always sent and need nothing.
//
// registerOptional adds an entry by hand, for operations that are not overrides of a protocol's
// virtuals (UIViewController answers for its own operations that way); such an operation is made
// without a protocol.
//
// The constants are constant-initialised (constinit), so classes may register them while libraries
// load. Each interns its selector the first time it is used, once, from whichever thread comes
// first, and keeps it: asking costs a method-table look-up and nothing more.

#include <runtime/Class.h>
#include <runtime/Object.h>
#include <runtime/Protocols.h>
#include <runtime/Selector.h>
#include <runtime/SelectorName.h>

#include <functional>
#include <initializer_list>
#include <string_view>

namespace uikit {

class OptionalOperation {
public:
    // An operation of `protocol`. `selectorName` must outlive the operation; the constants give
    // string literals.
    constexpr OptionalOperation(const runtime::ProtocolDescriptor& protocol, std::string_view selectorName)
        : m_selector(selectorName)
        , m_protocol(&protocol)
    {
    }
    // An operation of no protocol, registered by hand (registerOptional).
    explicit constexpr OptionalOperation(std::string_view selectorName)
        : m_selector(selectorName)
    {
    }
    OptionalOperation(const OptionalOperation&) = delete;
    OptionalOperation& operator=(const OptionalOperation&) = delete;

    std::string_view selectorName() const { return m_selector.name(); }
    runtime::Selector selector() const { return m_selector.selector(); }
    // nullptr for an operation of no protocol.
    const runtime::ProtocolDescriptor* protocol() const { return m_protocol; }

private:
    runtime::SelectorName m_selector;
    const runtime::ProtocolDescriptor* m_protocol { nullptr };
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

// For a protocol's registerOverrides: registers `operation` when `member` (written `&T::name`) is
// an override of the protocol's virtual, declared by T or a class between T and the protocol.
template<typename Protocol, typename MemberPointer>
void registerIfOverridden(runtime::Class& cls, MemberPointer, const OptionalOperation& operation)
{
    if constexpr (runtime::isOverride<Protocol, MemberPointer>)
        registerOptional(cls, operation);
}

// Whether `receiver` (which may be null) takes the optional operation.
inline bool respondsToOptional(const runtime::Object* receiver, const OptionalOperation& operation)
{
    if (!receiver)
        return false;
    if (const auto* protocol = operation.protocol())
        runtime::requireAdoptionIfImplemented(*receiver, *protocol);
    return receiver->respondsToSelector(operation.selector());
}

// The protocol interface `Protocol` of an object, or nullptr when it does not adopt it.
template<typename Protocol>
Protocol* protocolOf(runtime::Object* object)
{
    return dynamic_cast<Protocol*>(object);
}

}
