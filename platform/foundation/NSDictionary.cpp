#include <foundation/NSArray.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/PropertyList.h>
#include <foundation/PropertyListText.h>

namespace foundation {

using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;

TORVANE_DEFINE_CLASS(NSDictionary)

Ref<NSDictionary> NSDictionary::create(Storage entries)
{
    return adoptRef(*new NSDictionary(std::move(entries)));
}

Ref<NSDictionary> NSDictionary::dictionaryWithDictionary(const NSDictionary& other)
{
    return create(other.m_entries);
}

RefPtr<NSDictionary> NSDictionary::dictionaryWithContentsOfFile(std::string_view path)
{
    RefPtr<Object> root = PropertyList::readFile(path);
    return runtime::dynamicCast<NSDictionary>(root);
}

RefPtr<Object> NSDictionary::objectForKey(std::string_view key) const
{
    auto found = m_entries.find(key);
    if (found == m_entries.end())
        return nullptr;
    return found->second.ptr();
}

template<typename T>
static RefPtr<T> typedValue(const NSDictionary& dictionary, std::string_view key)
{
    return runtime::dynamicCast<T>(dictionary.objectForKey(key));
}

RefPtr<NSString> NSDictionary::stringForKey(std::string_view key) const { return typedValue<NSString>(*this, key); }
RefPtr<NSNumber> NSDictionary::numberForKey(std::string_view key) const { return typedValue<NSNumber>(*this, key); }
RefPtr<NSArray> NSDictionary::arrayForKey(std::string_view key) const { return typedValue<NSArray>(*this, key); }
RefPtr<NSDictionary> NSDictionary::dictionaryForKey(std::string_view key) const { return typedValue<NSDictionary>(*this, key); }

Ref<NSArray> NSDictionary::allKeys() const
{
    NSArray::Storage keys;
    keys.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        keys.push_back(NSString::create(entry.first));
    return NSArray::create(std::move(keys));
}

Ref<NSArray> NSDictionary::allValues() const
{
    NSArray::Storage values;
    values.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        values.push_back(entry.second);
    return NSArray::create(std::move(values));
}

bool NSDictionary::writeToFile(std::string_view path, bool atomically) const
{
    return PropertyList::writeFile(*this, path, atomically);
}

Ref<NSDictionary> NSDictionary::copy() const
{
    return create(m_entries);
}

Ref<NSMutableDictionary> NSDictionary::mutableCopy() const
{
    return NSMutableDictionary::create(m_entries);
}

std::string NSDictionary::description() const
{
    std::string text;
    PropertyListText::appendValue(text, *this, 0);
    return text;
}

bool NSDictionary::isEqual(const Object* other) const
{
    auto* dictionary = runtime::dynamicCast<NSDictionary>(other);
    if (!dictionary)
        return false;
    if (dictionary == this)
        return true;
    if (dictionary->count() != count())
        return false;
    auto mine = m_entries.begin();
    auto theirs = dictionary->m_entries.begin();
    for (; mine != m_entries.end(); ++mine, ++theirs) {
        if (mine->first != theirs->first || !mine->second->isEqual(theirs->second.ptr()))
            return false;
    }
    return true;
}

}
