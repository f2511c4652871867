#pragma once

#include <foundation/NSDictionary.h>

namespace foundation {

class NSMutableDictionary final : public NSDictionary {
    TORVANE_OBJECT(NSMutableDictionary, NSDictionary)
public:
    static runtime::Ref<NSMutableDictionary> create(Storage entries = {});
    static runtime::Ref<NSMutableDictionary> dictionaryWithDictionary(const NSDictionary& other);
    // Only the top level is mutable; nested collections stay as read.
    static runtime::RefPtr<NSMutableDictionary> dictionaryWithContentsOfFile(std::string_view path);
    static runtime::RefPtr<NSMutableDictionary> initWithContentsOfFile(std::string_view path)
    {
        return dictionaryWithContentsOfFile(path);
    }

    // Replaces an existing entry for `key`.
    void setObjectForKey(runtime::Ref<runtime::Object> object, std::string_view key);
    void removeObjectForKey(std::string_view key);
    // Entries of `other` replace entries with the same keys.
    void addEntriesFromDictionary(const NSDictionary& other);
    void removeAllObjects() { m_entries.clear(); }

private:
    using NSDictionary::NSDictionary;
};

}
