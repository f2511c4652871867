#include <foundation/NSArray.h>
#include <foundation/NSMutableArray.h>
#include <foundation/PropertyList.h>
#include <foundation/PropertyListText.h>

namespace foundation {

using runtime::Ref;
using runtime::RefPtr;

TORVANE_DEFINE_CLASS(NSArray)

Ref<NSArray> NSArray::create(Storage objects)
{
    return adoptRef(*new NSArray(std::move(objects)));
}

RefPtr<NSArray> NSArray::arrayWithContentsOfFile(std::string_view path)
{
    RefPtr<runtime::Object> root = PropertyList::readFile(path);
    return runtime::dynamicCast<NSArray>(root);
}

RefPtr<runtime::Object> NSArray::firstObject() const
{
    if (m_objects.empty())
        return nullptr;
    return m_objects.front().ptr();
}

RefPtr<runtime::Object> NSArray::lastObject() const
{
    if (m_objects.empty())
        return nullptr;
    return m_objects.back().ptr();
}

size_t NSArray::indexOfObject(const runtime::Object& object) const
{
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (m_objects[i]->isEqual(&object))
            return i;
    }
    return NSNotFound;
}

bool NSArray::writeToFile(std::string_view path, bool atomically) const
{
    return PropertyList::writeFile(*this, path, atomically);
}

Ref<NSArray> NSArray::copy() const
{
    return create(m_objects);
}

Ref<NSMutableArray> NSArray::mutableCopy() const
{
    return NSMutableArray::create(m_objects);
}

std::string NSArray::description() const
{
    std::string text;
    PropertyListText::appendValue(text, *this, 0);
    return text;
}

bool NSArray::isEqual(const runtime::Object* other) const
{
    auto* array = runtime::dynamicCast<NSArray>(other);
    if (!array)
        return false;
    if (array == this)
        return true;
    if (array->count() != count())
        return false;
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (!m_objects[i]->isEqual(array->m_objects[i].ptr()))
            return false;
    }
    return true;
}

}
