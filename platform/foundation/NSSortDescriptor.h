#pragma once

#include <foundation/NSString.h>
#include <runtime/Object.h>

#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// The comparison a sort uses, named after the Foundation selector it stands for.
enum class SortSelector {
    Compare,                          // compare: (strings literally, numbers numerically)
    LocalizedCompare,                 // localizedCompare:
    LocalizedCaseInsensitiveCompare,  // localizedCaseInsensitiveCompare:
};

// Orders two values with `selector`. Strings use the named string comparison; numbers always
// compare numerically. Values of different kinds get a fixed order so sorts stay consistent:
// nil, then numbers, then strings, then anything else (which compare as equal).
NSComparisonResult compareValues(const runtime::Object* a, const runtime::Object* b, SortSelector selector);

// Sorts dictionaries by the value at a key path. The path's components are dictionary keys;
// a final "floatValue", "doubleValue", "intValue", "integerValue" or "boolValue" applied to a
// string or number turns it into that number first (so "RAM.floatValue" orders the strings
// "9.5" and "12" numerically). An element or key that yields nothing counts as nil.
class NSSortDescriptor final : public runtime::Object {
    TORVANE_OBJECT(NSSortDescriptor, runtime::Object)
public:
    static runtime::Ref<NSSortDescriptor> create(std::string keyPath, bool ascending,
        SortSelector selector = SortSelector::Compare);

    const std::string& key() const { return m_keyPath; }
    bool ascending() const { return m_ascending; }
    SortSelector selector() const { return m_selector; }

    // The value this descriptor sorts `object` by; nil when it has none.
    runtime::RefPtr<runtime::Object> valueFor(const runtime::Object& object) const;
    NSComparisonResult compareObjects(const runtime::Object& a, const runtime::Object& b) const;

private:
    NSSortDescriptor(std::string keyPath, bool ascending, SortSelector selector);

    std::string m_keyPath;
    std::vector<std::string> m_components;
    bool m_ascending;
    SortSelector m_selector;
};

}
