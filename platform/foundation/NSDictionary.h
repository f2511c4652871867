#pragma once

#include <foundation/Forward.h>
#include <runtime/Object.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace foundation {

// An immutable map from string keys to objects, iterated in sorted key order (property lists
// only have string keys). "%@" is the old-style property-list text with sorted keys:
//   {
//       Key = Value;
//       List =     (
//           a
//       );
//   }
// (quoting and escapes as NSArray.h describes).
class NSDictionary : public runtime::Object {
    TORVANE_OBJECT(NSDictionary, runtime::Object)
public:
    using Storage = std::map<std::string, runtime::Ref<runtime::Object>, std::less<>>;

    static runtime::Ref<NSDictionary> create(Storage entries = {});
    static runtime::Ref<NSDictionary> dictionaryWithDictionary(const NSDictionary& other);
    // Reads a property-list file (device path) whose root is a dictionary; nil for a missing,
    // unreadable or malformed file or another root type. Reads the file afresh every time.
    static runtime::RefPtr<NSDictionary> dictionaryWithContentsOfFile(std::string_view path);
    static runtime::RefPtr<NSDictionary> initWithContentsOfFile(std::string_view path)
    {
        return dictionaryWithContentsOfFile(path);
    }

    size_t count() const { return m_entries.size(); }
    runtime::RefPtr<runtime::Object> objectForKey(std::string_view key) const;
    // Typed lookups: nil when the key is absent or holds another kind of value.
    runtime::RefPtr<NSString> stringForKey(std::string_view key) const;
    runtime::RefPtr<NSNumber> numberForKey(std::string_view key) const;
    runtime::RefPtr<NSArray> arrayForKey(std::string_view key) const;
    runtime::RefPtr<NSDictionary> dictionaryForKey(std::string_view key) const;

    // Keys as NSStrings and values, both in sorted key order.
    runtime::Ref<NSArray> allKeys() const;
    runtime::Ref<NSArray> allValues() const;

    const Storage& entries() const { return m_entries; }
    Storage::const_iterator begin() const { return m_entries.begin(); }
    Storage::const_iterator end() const { return m_entries.end(); }

    // XML property list at a device path; false when a value is not a property-list value or
    // the file cannot be written. See PropertyList.h for the atomic write.
    bool writeToFile(std::string_view path, bool atomically) const;

    runtime::Ref<NSDictionary> copy() const;
    runtime::Ref<NSMutableDictionary> mutableCopy() const;

    std::string description() const override;
    bool isEqual(const runtime::Object* other) const override;
    size_t hash() const override { return m_entries.size(); }

protected:
    explicit NSDictionary(Storage entries)
        : m_entries(std::move(entries))
    {
    }

    Storage m_entries;
};

}
