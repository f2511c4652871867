#include <foundation/NSMutableArray.h>
#include <foundation/PropertyList.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace foundation {

using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;

TORVANE_DEFINE_CLASS(NSMutableArray)

Ref<NSMutableArray> NSMutableArray::create(Storage objects)
{
    return adoptRef(*new NSMutableArray(std::move(objects)));
}

RefPtr<NSMutableArray> NSMutableArray::arrayWithContentsOfFile(std::string_view path)
{
    RefPtr<NSArray> array = NSArray::arrayWithContentsOfFile(path);
    if (!array)
        return nullptr;
    return create(array->objects());
}

void NSMutableArray::insertObjectAtIndex(Ref<Object> object, size_t index)
{
    if (index > m_objects.size())
        throw std::out_of_range("NSMutableArray::insertObjectAtIndex: index beyond the end");
    m_objects.insert(m_objects.begin() + index, std::move(object));
}

void NSMutableArray::removeObject(const Object& object)
{
    // Keep `object` alive while comparing: it may be one of the elements being dropped.
    Ref<Object> protector(const_cast<Object&>(object));
    std::erase_if(m_objects, [&](const Ref<Object>& element) { return element->isEqual(&object); });
}

void NSMutableArray::removeObjectAtIndex(size_t index)
{
    if (index >= m_objects.size())
        throw std::out_of_range("NSMutableArray::removeObjectAtIndex: index beyond the end");
    m_objects.erase(m_objects.begin() + index);
}

void NSMutableArray::replaceObjectAtIndexWithObject(size_t index, Ref<Object> object)
{
    m_objects.at(index) = std::move(object);
}

void NSMutableArray::addObjectsFromArray(const NSArray& other)
{
    // Copy first: `other` may be this array.
    Storage added = other.objects();
    m_objects.insert(m_objects.end(), added.begin(), added.end());
}

// Bottom-up merge sort. Unlike std::stable_sort it stays within bounds whatever the comparator
// answers, so a careless comparator gives a strange order rather than a crash.
static void mergeSort(NSArray::Storage& objects, const std::function<bool(Object&, Object&)>& less)
{
    const size_t count = objects.size();
    if (count < 2)
        return;
    NSArray::Storage buffer = objects;
    NSArray::Storage* from = &objects;
    NSArray::Storage* to = &buffer;
    for (size_t width = 1; width < count; width *= 2) {
        for (size_t left = 0; left < count; left += 2 * width) {
            const size_t middle = std::min(left + width, count);
            const size_t right = std::min(left + 2 * width, count);
            size_t a = left, b = middle, out = left;
            while (a < middle && b < right) {
                // Take from the right run only when strictly smaller: equal elements keep order.
                if (less((*from)[b].get(), (*from)[a].get()))
                    (*to)[out++] = (*from)[b++];
                else
                    (*to)[out++] = (*from)[a++];
            }
            while (a < middle)
                (*to)[out++] = (*from)[a++];
            while (b < right)
                (*to)[out++] = (*from)[b++];
        }
        std::swap(from, to);
    }
    if (from != &objects)
        objects = std::move(*from);
}

void NSMutableArray::sortUsingComparator(const std::function<int(Object&, Object&)>& comparator)
{
    // The comparator may drop the last outside reference to an element; sort a private copy.
    Storage sorted = m_objects;
    mergeSort(sorted, [&](Object& a, Object& b) { return comparator(a, b) < 0; });
    m_objects = std::move(sorted);
}

void NSMutableArray::sortUsingSelector(SortSelector selector)
{
    Storage sorted = m_objects;
    mergeSort(sorted, [&](Object& a, Object& b) { return compareValues(&a, &b, selector) == NSOrderedAscending; });
    m_objects = std::move(sorted);
}

void NSMutableArray::sortUsingDescriptors(const std::vector<Ref<NSSortDescriptor>>& descriptors)
{
    Storage sorted = m_objects;
    mergeSort(sorted, [&](Object& a, Object& b) {
        for (const auto& descriptor : descriptors) {
            if (auto order = descriptor->compareObjects(a, b))
                return order == NSOrderedAscending;
        }
        return false;
    });
    m_objects = std::move(sorted);
}

}
