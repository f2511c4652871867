#pragma once

#include <foundation/NSArray.h>
#include <foundation/NSSortDescriptor.h>

#include <functional>

namespace foundation {

// Index errors throw std::out_of_range (Foundation raises NSRangeException). Do not change the
// array while iterating over it.
class NSMutableArray final : public NSArray {
    TORVANE_OBJECT(NSMutableArray, NSArray)
public:
    static runtime::Ref<NSMutableArray> create(Storage objects = {});
    static runtime::RefPtr<NSMutableArray> arrayWithContentsOfFile(std::string_view path);

    void addObject(runtime::Ref<runtime::Object> object) { m_objects.push_back(std::move(object)); }
    // index == count appends.
    void insertObjectAtIndex(runtime::Ref<runtime::Object> object, size_t index);
    // Removes every element equal (isEqual) to `object`.
    void removeObject(const runtime::Object& object);
    void removeObjectAtIndex(size_t index);
    void removeAllObjects() { m_objects.clear(); }
    void replaceObjectAtIndexWithObject(size_t index, runtime::Ref<runtime::Object> object);
    void addObjectsFromArray(const NSArray& other);

    // Stable sorts. The comparator returns <0, 0 or >0 like an NSComparisonResult; the sort never
    // reads outside the array even when a comparator is inconsistent.
    void sortUsingComparator(const std::function<int(runtime::Object&, runtime::Object&)>& comparator);
    void sortUsingSelector(SortSelector selector);
    void sortUsingDescriptors(const std::vector<runtime::Ref<NSSortDescriptor>>& descriptors);

private:
    using NSArray::NSArray;
};

}
