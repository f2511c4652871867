#pragma once

#include <runtime/Object.h>

namespace runtime {

// The link between an object and its weak references. The object clears it when it dies; the
// link itself lives while any WeakPtr holds it.
class WeakLink {
public:
    explicit WeakLink(Object* object)
        : m_object(object)
    {
    }
    Object* object() const { return m_object; }
    void clear() { m_object = nullptr; }
    void ref() { ++m_count; }
    void deref()
    {
        if (--m_count == 0)
            delete this;
    }

private:
    Object* m_object;
    unsigned m_count { 1 }; // the object's own hold, dropped when it dies
};

// A reference that does not own: becomes null when the object dies. Delegates, data sources and
// superviews are held this way.
template<typename T>
class WeakPtr {
public:
    WeakPtr() = default;
    WeakPtr(std::nullptr_t) { }
    WeakPtr(const T* object) { assign(object); }
    WeakPtr(const T& object) { assign(&object); }
    template<typename U>
    WeakPtr(const RefPtr<U>& object) { assign(object.get()); }
    template<typename U>
    WeakPtr(const Ref<U>& object) { assign(object.ptr()); }
    WeakPtr(const WeakPtr& other) { assignLink(other.m_link); }
    WeakPtr(WeakPtr&& other)
        : m_link(other.m_link)
    {
        other.m_link = nullptr;
    }
    ~WeakPtr() { release(); }

    WeakPtr& operator=(const WeakPtr& other)
    {
        if (this != &other) {
            WeakLink* link = other.m_link;
            if (link)
                link->ref();
            release();
            m_link = link;
        }
        return *this;
    }
    WeakPtr& operator=(WeakPtr&& other)
    {
        if (this != &other) {
            release();
            m_link = other.m_link;
            other.m_link = nullptr;
        }
        return *this;
    }
    WeakPtr& operator=(std::nullptr_t)
    {
        release();
        return *this;
    }

    T* get() const { return m_link ? static_cast<T*>(m_link->object()) : nullptr; }
    T* operator->() const { return get(); }
    explicit operator bool() const { return get() != nullptr; }
    RefPtr<T> strong() const { return RefPtr<T>(get()); }

private:
    void assign(const T* object)
    {
        if (object)
            assignLink(&object->weakLink());
    }
    void assignLink(WeakLink* link)
    {
        m_link = link;
        if (m_link)
            m_link->ref();
    }
    void release()
    {
        if (m_link)
            m_link->deref();
        m_link = nullptr;
    }

    WeakLink* m_link { nullptr };
};

}
