#pragma once

#include <runtime/Selector.h>

#include <atomic>
#include <string_view>

namespace runtime {

// A selector named in code once and interned on first use, so asking for it again never looks the
// name up. Constant-initialisable, so it can be used from any static initialiser. Operation
// descriptors and optional delegate operations are built on it.
class SelectorName {
public:
    // `name` must outlive this object; the descriptors give string literals.
    constexpr explicit SelectorName(std::string_view name)
        : m_name(name)
    {
    }
    SelectorName(const SelectorName&) = delete;
    SelectorName& operator=(const SelectorName&) = delete;

    std::string_view name() const { return m_name; }
    Selector selector() const
    {
        Selector selector = m_selector.load(std::memory_order_acquire);
        if (selector.isNull()) {
            // Two threads may get here at once; both intern the same name and store the same value.
            selector = Selector::named(m_name);
            m_selector.store(selector, std::memory_order_release);
        }
        return selector;
    }

private:
    std::string_view m_name;
    mutable std::atomic<Selector> m_selector {};
};

}
