#pragma once

// Protocols a class adopts (conformsToProtocol:).
//
// A protocol is a C++ interface. A class names the protocols it adopts once, beside TORVANE_OBJECT:
//
//     class MyList : public runtime::Object, public uikit::UITableViewDataSource, public uikit::UITableViewDelegate {
//         TORVANE_OBJECT(MyList, runtime::Object)
//         TORVANE_ADOPTS(uikit::UITableViewDataSource, uikit::UITableViewDelegate)
//     ...
//
// A subclass adopts what its superclass adopts and may name more. When the class object is built
// (TORVANE_DEFINE_CLASS), it records each protocol and lets the protocol fill the method table: a
// protocol with optional operations has
//
//     template<typename T> static void registerOverrides(runtime::Class&);
//
// which registers, one line per operation, the operations T overrides (isOverride tells which),
// so that respondsToSelector answers YES for exactly those. Overrides must be reachable from the
// protocol (public); a hidden one does not compile.

#include <runtime/Class.h>
#include <runtime/Forward.h>

#include <type_traits>
#include <typeinfo>

namespace runtime {

// The protocols of a class: protocol interfaces, and lists whose protocols are included (the
// superclass's). A protocol may appear more than once; it counts once.
template<typename... Entries>
struct ProtocolList;

template<typename T>
inline constexpr bool isProtocolList = false;
template<typename... Entries>
inline constexpr bool isProtocolList<ProtocolList<Entries...>> = true;

template<typename... Entries>
struct ProtocolList {
    // Calls `visit.template operator()<Protocol>()` for every protocol, lists flattened.
    template<typename Visitor>
    static void forEach(Visitor& visit) { (forEntry<Entries>(visit), ...); }

private:
    template<typename Entry, typename Visitor>
    static void forEntry(Visitor& visit)
    {
        if constexpr (isProtocolList<Entry>)
            Entry::forEach(visit);
        else
            visit.template operator()<Entry>();
    }
};

#define TORVANE_ADOPTS(...)                                                                   \
public:                                                                                       \
    using AdoptedProtocols = ::runtime::ProtocolList<Super::AdoptedProtocols, __VA_ARGS__>;   \
                                                                                              \
private:

// Whether `MemberPointer`, the type of `&T::name`, points at a member declared by a class other
// than `Protocol`: then T, or a class between it and the protocol, overrides the virtual `name`.
template<typename Protocol, typename MemberPointer>
inline constexpr bool isOverride = false;
template<typename Protocol, typename Declarer, typename Member>
inline constexpr bool isOverride<Protocol, Member Declarer::*> = !std::is_same_v<Declarer, Protocol>;

// What a caller knows of a protocol at run time: its type, to compare with what a class adopts,
// and whether an object implements the interface. Constant, so constant-initialised descriptors
// (optional operations) can point at it.
struct ProtocolDescriptor {
    const std::type_info* type;
    bool (*isImplementedBy)(const Object*);
};

template<typename Protocol>
bool objectImplements(const Object* object)
{
    return dynamic_cast<const Protocol*>(object) != nullptr;
}

template<typename Protocol>
inline constexpr ProtocolDescriptor protocolDescriptor { &typeid(Protocol), &objectImplements<Protocol> };

// Records the protocols T adopts on its class object and registers the optional operations it
// overrides. TORVANE_DEFINE_CLASS calls it once, when the class object is built.
template<typename T>
void adoptProtocols(Class& cls)
{
    auto adopt = [&cls]<typename Protocol>() {
        static_assert(std::is_convertible_v<T*, Protocol*>, "a class names a protocol it does not publicly implement");
        cls.addProtocol(typeid(Protocol));
        if constexpr (requires { &Protocol::template registerOverrides<T>; })
            Protocol::template registerOverrides<T>(cls);
    };
    T::AdoptedProtocols::forEach(adopt);
}

// Stops the process, naming the class and the protocol, when `object` implements the protocol's
// interface but its class never named the protocol: its overrides were never registered, so a
// caller asking first would never send them.
void requireAdoptionIfImplemented(const Object& object, const ProtocolDescriptor& protocol);

}
