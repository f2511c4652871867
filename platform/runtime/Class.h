#pragma once

#include <runtime/Forward.h>
#include <runtime/Selector.h>

#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>
#include <vector>

namespace runtime {

// The untyped form of an operation's implementation; Operation casts it back to its real
// signature `R (*)(Object* self, Selector, Args...)`.
using IMP = void (*)();

// One registered class: its name, its superclass and its method table. Method tables hold only
// the operations that must be replaceable at run time (hooked host operations) or that callers
// probe with respondsToSelector: (optional delegate operations); everything else is plain C++.
class Class {
public:
    Class(std::string_view name, const Class* superclass);
    ~Class();
    Class(const Class&) = delete;
    Class& operator=(const Class&) = delete;

    const std::string& name() const { return m_name; }
    const Class* superclass() const { return m_superclass; }

    // Is this class `other` or one of its subclasses?
    bool isSubclassOfClass(const Class& other) const;

    // Adds or replaces this class's own entry for `selector`.
    void addMethod(Selector selector, IMP implementation);
    // The same for a typed operation: an implementation of any other signature does not compile.
    template<typename R, typename... Args>
    void addMethod(const Operation<R(Args...)>& operation, std::type_identity_t<R (*)(Object*, Selector, Args...)> implementation)
    {
        addMethod(operation.selector(), reinterpret_cast<IMP>(implementation));
    }
    // This class's own entry, without looking at superclasses.
    IMP ownMethod(Selector selector) const;
    // The implementation an instance of this class runs: its own or the nearest superclass's.
    IMP lookup(Selector selector) const;
    bool instancesRespondToSelector(Selector selector) const { return lookup(selector) != nullptr; }

    // Records that instances implement the protocol `protocol` and named it (see Protocols.h).
    void addProtocol(const std::type_info& protocol);
    // conformsToProtocol: this class or a superclass adopted `protocol`.
    bool conformsToProtocol(const std::type_info& protocol) const;

    // NSClassFromString: nullptr when no class of that name has been registered in this process.
    static Class* named(std::string_view name);
    static std::vector<const Class*> allClasses();

private:
    std::string m_name;
    const Class* m_superclass;
    std::unordered_map<Selector, IMP, SelectorHash> m_methods;
    std::vector<std::type_index> m_protocols;
};

inline Class* NSClassFromString(std::string_view name) { return Class::named(name); }

}
