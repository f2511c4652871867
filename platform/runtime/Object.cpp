#include <runtime/Object.h>
#include <runtime/WeakPtr.h>

#include <cstdio>
#include <functional>

namespace runtime {

Class& Object::staticClass()
{
    static Class cls("NSObject", nullptr);
    return cls;
}

[[maybe_unused]] static const bool objectClassRegistered = (Object::staticClass(), true);

Object::~Object()
{
    if (m_weakLink) {
        m_weakLink->clear();
        m_weakLink->deref();
    }
}

WeakLink& Object::weakLink() const
{
    if (!m_weakLink)
        m_weakLink = new WeakLink(const_cast<Object*>(this));
    return *m_weakLink;
}

std::string Object::description() const
{
    char text[64];
    std::snprintf(text, sizeof text, ": %p>", static_cast<const void*>(this));
    return "<" + className() + text;
}

size_t Object::hash() const
{
    return std::hash<const void*>()(this);
}

}
