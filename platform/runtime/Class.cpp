#include <runtime/Class.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <algorithm>
#include <unordered_map>

namespace runtime {

namespace {
struct ClassRegistry {
    std::mutex lock;
    std::unordered_map<std::string, Class*> classes;
    std::vector<const Class*> order;
};

ClassRegistry& registry()
{
    static ClassRegistry* classes = new ClassRegistry; // never torn down: classes live as long as the process
    return *classes;
}
}

Class::Class(std::string_view name, const Class* superclass)
    : m_name(name)
    , m_superclass(superclass)
{
    auto& classes = registry();
    std::lock_guard guard(classes.lock);
    auto [it, inserted] = classes.classes.emplace(m_name, this);
    if (!inserted) {
        // Two definitions of one class name would make look-ups ambiguous; the first stays.
        std::fprintf(stderr, "runtime: class %s registered twice\n", m_name.c_str());
        return;
    }
    classes.order.push_back(this);
}

bool Class::isSubclassOfClass(const Class& other) const
{
    for (const Class* cls = this; cls; cls = cls->m_superclass) {
        if (cls == &other)
            return true;
    }
    return false;
}

void Class::addMethod(Selector selector, IMP implementation)
{
    m_methods[selector] = implementation;
}

IMP Class::ownMethod(Selector selector) const
{
    auto it = m_methods.find(selector);
    return it == m_methods.end() ? nullptr : it->second;
}

IMP Class::lookup(Selector selector) const
{
    for (const Class* cls = this; cls; cls = cls->m_superclass) {
        if (IMP implementation = cls->ownMethod(selector))
            return implementation;
    }
    return nullptr;
}

void Class::addProtocol(const std::type_info& protocol)
{
    if (std::find(m_protocols.begin(), m_protocols.end(), std::type_index(protocol)) == m_protocols.end())
        m_protocols.emplace_back(protocol);
}

bool Class::conformsToProtocol(const std::type_info& protocol) const
{
    for (const Class* cls = this; cls; cls = cls->m_superclass) {
        if (std::find(cls->m_protocols.begin(), cls->m_protocols.end(), std::type_index(protocol)) != cls->m_protocols.end())
            return true;
    }
    return false;
}

Class::~Class()
{
    // A library that registered classes may be unloaded; its classes must not outlive it in the registry.
    auto& classes = registry();
    std::lock_guard guard(classes.lock);
    auto it = classes.classes.find(m_name);
    if (it != classes.classes.end() && it->second == this)
        classes.classes.erase(it);
    std::erase(classes.order, this);
}

Class* Class::named(std::string_view name)
{
    auto& classes = registry();
    std::lock_guard guard(classes.lock);
    auto it = classes.classes.find(std::string(name));
    return it == classes.classes.end() ? nullptr : it->second;
}

std::vector<const Class*> Class::allClasses()
{
    auto& classes = registry();
    std::lock_guard guard(classes.lock);
    return classes.order;
}

}
