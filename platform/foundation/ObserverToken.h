#pragma once

#include <functional>
#include <utility>

namespace foundation {

// A registration that undoes itself: destroying or resetting the token runs its removal action
// exactly once, so an observer (or a run-loop source) can never outlive the object that handles it.
// Move-only; a moved-from or default token holds nothing.
class [[nodiscard]] ObserverToken {
public:
    ObserverToken() = default;
    explicit ObserverToken(std::function<void()> remove)
        : m_remove(std::move(remove))
    {
    }
    ObserverToken(const ObserverToken&) = delete;
    ObserverToken& operator=(const ObserverToken&) = delete;
    ObserverToken(ObserverToken&& other) noexcept
        : m_remove(std::exchange(other.m_remove, nullptr))
    {
    }
    ObserverToken& operator=(ObserverToken&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_remove = std::exchange(other.m_remove, nullptr);
        }
        return *this;
    }
    ~ObserverToken() { reset(); }

    void reset()
    {
        // Cleared before running, so a removal action that ends up destroying this token's owner
        // does not run twice.
        if (auto remove = std::exchange(m_remove, nullptr))
            remove();
    }

    bool isActive() const { return static_cast<bool>(m_remove); }
    explicit operator bool() const { return isActive(); }

private:
    std::function<void()> m_remove;
};

}
