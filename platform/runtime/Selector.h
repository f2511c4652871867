#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace runtime {

// An interned operation name ("touchesBegan:withEvent:"). Two selectors with the same text are the
// same selector, so comparison is by address.
class Selector {
public:
    Selector() = default;
    static Selector named(std::string_view name);

    const std::string& name() const;
    bool isNull() const { return !m_name; }
    bool operator==(const Selector& other) const { return m_name == other.m_name; }
    size_t hash() const { return std::hash<const void*>()(m_name); }

private:
    explicit Selector(const std::string* name)
        : m_name(name)
    {
    }
    const std::string* m_name { nullptr };
};

// Shorthand used where the product names a selector: sel("setApplicationState:").
inline Selector sel(std::string_view name) { return Selector::named(name); }

struct SelectorHash {
    size_t operator()(const Selector& selector) const { return selector.hash(); }
};

}
