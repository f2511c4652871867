#pragma once

#include <cassert>
#include <type_traits>
#include <utility>

namespace runtime {

// A strong reference that is never null. Objects start life with a count of one; `adoptRef`
// takes over that first count without adding to it.
template<typename T>
class Ref {
public:
    enum AdoptTag { Adopt };

    Ref(T& object)
        : m_ptr(&object)
    {
        m_ptr->ref();
    }
    Ref(T& object, AdoptTag)
        : m_ptr(&object)
    {
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(U& object)
        : m_ptr(&object)
    {
        m_ptr->ref();
    }
    Ref(const Ref& other)
        : m_ptr(other.m_ptr)
    {
        m_ptr->ref();
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& other)
        : m_ptr(other.ptr())
    {
        m_ptr->ref();
    }
    Ref(Ref&& other)
        : m_ptr(other.leakPtr())
    {
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(Ref<U>&& other)
        : m_ptr(other.leakPtr())
    {
    }
    ~Ref()
    {
        if (m_ptr)
            m_ptr->deref();
    }

    Ref& operator=(const Ref& other)
    {
        Ref copy(other);
        swap(copy);
        return *this;
    }
    Ref& operator=(Ref&& other)
    {
        Ref moved(std::move(other));
        swap(moved);
        return *this;
    }

    T* ptr() const
    {
        assert(m_ptr);
        return m_ptr;
    }
    T& get() const { return *ptr(); }
    T* operator->() const { return ptr(); }
    T& operator*() const { return *ptr(); }
    operator T&() const { return *ptr(); }

    void swap(Ref& other) { std::swap(m_ptr, other.m_ptr); }

    // Gives up ownership without releasing; only RefPtr/Ref moves use it.
    T* leakPtr()
    {
        T* ptr = m_ptr;
        m_ptr = nullptr;
        return ptr;
    }

private:
    T* m_ptr;
};

template<typename T>
Ref<T> adoptRef(T& object)
{
    return Ref<T>(object, Ref<T>::Adopt);
}

template<typename T, typename U>
bool operator==(const Ref<T>& a, const Ref<U>& b) { return a.ptr() == b.ptr(); }

}
