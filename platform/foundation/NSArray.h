#pragma once

#include <foundation/Forward.h>
#include <runtime/Object.h>

#include <cstddef>
#include <string_view>
#include <vector>

namespace foundation {

// Returned by index searches that find nothing.
inline constexpr size_t NSNotFound = static_cast<size_t>(-1);

// An immutable ordered collection of objects; nil cannot be stored. objectAtIndex past the end
// throws std::out_of_range, as Foundation raises NSRangeException.
// "%@" is the old-style property-list text:
//   (
//       a,
//       "two words"
//   )
// four spaces per level; a nested collection starts with its own indentation after the parent's,
// as Foundation prints it. Strings are quoted (with \" \\ \n \t and \Uxxxx escapes for control
// and non-ASCII characters) unless they are non-empty and only hold [A-Za-z0-9_.$/:-].
class NSArray : public runtime::Object {
    TORVANE_OBJECT(NSArray, runtime::Object)
public:
    using Storage = std::vector<runtime::Ref<runtime::Object>>;

    static runtime::Ref<NSArray> create(Storage objects = {});
    // Reads a property-list file (device path) whose root is an array; nil otherwise.
    static runtime::RefPtr<NSArray> arrayWithContentsOfFile(std::string_view path);

    size_t count() const { return m_objects.size(); }
    runtime::Object& objectAtIndex(size_t index) const { return m_objects.at(index).get(); }
    runtime::RefPtr<runtime::Object> firstObject() const;
    runtime::RefPtr<runtime::Object> lastObject() const;
    // Membership and position by isEqual.
    bool containsObject(const runtime::Object& object) const { return indexOfObject(object) != NSNotFound; }
    size_t indexOfObject(const runtime::Object& object) const;

    const Storage& objects() const { return m_objects; }
    Storage::const_iterator begin() const { return m_objects.begin(); }
    Storage::const_iterator end() const { return m_objects.end(); }

    // XML property list; the path is a device path. Fails (false) when an element is not a
    // property-list value. See PropertyList.h for the atomic write.
    bool writeToFile(std::string_view path, bool atomically) const;

    runtime::Ref<NSArray> copy() const;
    runtime::Ref<NSMutableArray> mutableCopy() const;

    std::string description() const override;
    bool isEqual(const runtime::Object* other) const override;
    size_t hash() const override { return m_objects.size(); }

protected:
    explicit NSArray(Storage objects)
        : m_objects(std::move(objects))
    {
    }

    Storage m_objects;
};

}
