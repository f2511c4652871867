#pragma once

#include <runtime/Ref.h>

#include <cstddef>
#include <utility>

namespace runtime {

// A strong reference that may be null.
template<typename T>
class RefPtr {
public:
    RefPtr() = default;
    RefPtr(std::nullptr_t) { }
    RefPtr(T* ptr)
        : m_ptr(ptr)
    {
        if (m_ptr)
            m_ptr->ref();
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(U* ptr)
        : m_ptr(ptr)
    {
        if (m_ptr)
            m_ptr->ref();
    }
    RefPtr(T& object)
        : RefPtr(&object)
    {
    }
    RefPtr(const RefPtr& other)
        : RefPtr(other.m_ptr)
    {
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(const RefPtr<U>& other)
        : RefPtr(other.get())
    {
    }
    RefPtr(RefPtr&& other)
        : m_ptr(other.leakRef())
    {
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(RefPtr<U>&& other)
        : m_ptr(other.leakRef())
    {
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(const Ref<U>& other)
        : RefPtr(other.ptr())
    {
    }
    template<typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(Ref<U>&& other)
        : m_ptr(other.leakPtr())
    {
    }
    ~RefPtr()
    {
        if (m_ptr)
            m_ptr->deref();
    }

    RefPtr& operator=(const RefPtr& other)
    {
        RefPtr copy(other);
        swap(copy);
        return *this;
    }
    RefPtr& operator=(RefPtr&& other)
    {
        RefPtr moved(std::move(other));
        swap(moved);
        return *this;
    }
    RefPtr& operator=(std::nullptr_t)
    {
        RefPtr empty;
        swap(empty);
        return *this;
    }

    T* get() const { return m_ptr; }
    T* operator->() const
    {
        assert(m_ptr);
        return m_ptr;
    }
    T& operator*() const
    {
        assert(m_ptr);
        return *m_ptr;
    }
    explicit operator bool() const { return m_ptr != nullptr; }
    bool operator!() const { return !m_ptr; }

    // Non-null only; asserts otherwise.
    Ref<T> releaseNonNull()
    {
        assert(m_ptr);
        return adoptRef(*leakRef());
    }

    void swap(RefPtr& other) { std::swap(m_ptr, other.m_ptr); }

    T* leakRef()
    {
        T* ptr = m_ptr;
        m_ptr = nullptr;
        return ptr;
    }

private:
    T* m_ptr { nullptr };
};

template<typename T, typename U>
bool operator==(const RefPtr<T>& a, const RefPtr<U>& b) { return a.get() == b.get(); }
template<typename T, typename U>
bool operator==(const RefPtr<T>& a, U* b) { return a.get() == b; }
template<typename T>
bool operator==(const RefPtr<T>& a, std::nullptr_t) { return !a.get(); }

}
