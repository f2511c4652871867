#include <foundation/NSArray.h>
#include <foundation/NSSet.h>
#include <foundation/PropertyListText.h>

namespace foundation {

using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;

TORVANE_DEFINE_CLASS(NSSet)

Ref<NSSet> NSSet::create(const Storage& objects)
{
    Storage distinct;
    distinct.reserve(objects.size());
    for (const auto& object : objects) {
        bool seen = false;
        for (const auto& kept : distinct) {
            if (kept->isEqual(object.ptr())) {
                seen = true;
                break;
            }
        }
        if (!seen)
            distinct.push_back(object);
    }
    return adoptRef(*new NSSet(std::move(distinct)));
}

RefPtr<Object> NSSet::anyObject() const
{
    if (m_objects.empty())
        return nullptr;
    return m_objects.front().ptr();
}

Ref<NSArray> NSSet::allObjects() const
{
    return NSArray::create(m_objects);
}

bool NSSet::containsObject(const Object& object) const
{
    for (const auto& kept : m_objects) {
        if (kept->isEqual(&object))
            return true;
    }
    return false;
}

std::string NSSet::description() const
{
    std::string text;
    PropertyListText::appendValue(text, *this, 0);
    return text;
}

bool NSSet::isEqual(const Object* other) const
{
    auto* set = runtime::dynamicCast<NSSet>(other);
    if (!set || set->count() != count())
        return false;
    for (const auto& object : m_objects) {
        if (!set->containsObject(object))
            return false;
    }
    return true;
}

}
