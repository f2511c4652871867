#pragma once

#include <runtime/Class.h>
#include <runtime/Protocols.h>
#include <runtime/Ref.h>
#include <runtime/RefPtr.h>
#include <runtime/Selector.h>

#include <cstddef>
#include <string>

namespace runtime {

class WeakLink;

// Declares the class-registry hooks of an Object subclass. Put it first in the class body and
// TORVANE_DEFINE_CLASS in one .cpp file.
#define TORVANE_OBJECT(ClassName, SuperName)                                                  \
public:                                                                                       \
    using Super = SuperName;                                                                  \
    static ::runtime::Class& staticClass();                                                   \
    const ::runtime::Class& objcClass() const override { return ClassName::staticClass(); }  \
                                                                                              \
private:

// Defines the class object. The function-local static makes registration order-safe across
// translation units; the namespace-scope flag registers the class when its library loads, so
// NSClassFromString finds it before anyone has touched the class. Building the class object
// records the protocols the class adopts (TORVANE_ADOPTS, its own and its superclasses') and
// registers the optional operations of those protocols that it overrides.
#define TORVANE_DEFINE_CLASS(ClassName) TORVANE_DEFINE_CLASS_WITH_METHODS(ClassName, [](::runtime::Class&) { })

// Like TORVANE_DEFINE_CLASS, then runs `setup(Class&)` once to fill the rest of the method table.
#define TORVANE_DEFINE_CLASS_WITH_METHODS(ClassName, setup)                                    \
    ::runtime::Class& ClassName::staticClass()                                                 \
    {                                                                                          \
        static ::runtime::Class& cls = [] () -> ::runtime::Class& {                            \
            static ::runtime::Class registered(#ClassName, &ClassName::Super::staticClass());  \
            ::runtime::adoptProtocols<ClassName>(registered);                                  \
            setup(registered);                                                                 \
            return registered;                                                                 \
        }();                                                                                   \
        return cls;                                                                            \
    }                                                                                          \
    [[maybe_unused]] static const bool ClassName##_classRegistered = (ClassName::staticClass(), true);

// The root of every platform and product class (NSObject). Reference counted, counts start at
// one (see adoptRef); not thread-safe: objects belong to their process's main thread.
class Object {
public:
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object();

    void ref() const { ++m_refCount; }
    void deref() const
    {
        if (--m_refCount == 0)
            delete this;
    }
    unsigned refCount() const { return m_refCount; }

    static Class& staticClass();
    virtual const Class& objcClass() const { return staticClass(); }
    // None here; a subclass names its own with TORVANE_ADOPTS.
    using AdoptedProtocols = ProtocolList<>;
    const std::string& className() const { return objcClass().name(); }

    bool isKindOfClass(const Class& cls) const { return objcClass().isSubclassOfClass(cls); }
    bool isMemberOfClass(const Class& cls) const { return &objcClass() == &cls; }
    template<typename T>
    bool isKindOf() const { return isKindOfClass(T::staticClass()); }
    bool respondsToSelector(Selector selector) const { return objcClass().instancesRespondToSelector(selector); }

    // The "%@" text. Foundation values override it; other objects read "<ClassName: 0x...>".
    virtual std::string description() const;
    virtual bool isEqual(const Object* other) const { return other == this; }
    virtual size_t hash() const;

    // The shared link WeakPtr uses; created on first use and cleared when this object dies.
    WeakLink& weakLink() const;

protected:
    Object() = default;

private:
    mutable unsigned m_refCount { 1 };
    mutable WeakLink* m_weakLink { nullptr };
};

// Checked downcast by class registry (like `[x isKindOfClass:[T class]] ? (T*)x : nil`). A cast
// keeps constness, and a cast of a reference the caller does not keep (a function's RefPtr or Ref
// result) returns an owning RefPtr, so the object cannot die at the end of the statement under a
// pointer the cast handed out.
template<typename T>
T* dynamicCast(Object* object)
{
    if (!object || !object->isKindOfClass(T::staticClass()))
        return nullptr;
    return static_cast<T*>(object);
}
template<typename T>
const T* dynamicCast(const Object* object)
{
    if (!object || !object->isKindOfClass(T::staticClass()))
        return nullptr;
    return static_cast<const T*>(object);
}
template<typename T, typename U>
auto dynamicCast(const RefPtr<U>& object) { return dynamicCast<T>(object.get()); }
template<typename T, typename U>
auto dynamicCast(const Ref<U>& object) { return dynamicCast<T>(object.ptr()); }
template<typename T, typename U>
auto dynamicCast(RefPtr<U>&& object) { return RefPtr(dynamicCast<T>(object.get())); }
template<typename T, typename U>
auto dynamicCast(Ref<U>&& object) { return RefPtr(dynamicCast<T>(object.ptr())); }

using Id = RefPtr<Object>;

}
