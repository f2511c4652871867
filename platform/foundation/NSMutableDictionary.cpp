#include <foundation/NSMutableDictionary.h>

namespace foundation {

using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;

TORVANE_DEFINE_CLASS(NSMutableDictionary)

Ref<NSMutableDictionary> NSMutableDictionary::create(Storage entries)
{
    return adoptRef(*new NSMutableDictionary(std::move(entries)));
}

Ref<NSMutableDictionary> NSMutableDictionary::dictionaryWithDictionary(const NSDictionary& other)
{
    return create(other.entries());
}

RefPtr<NSMutableDictionary> NSMutableDictionary::dictionaryWithContentsOfFile(std::string_view path)
{
    RefPtr<NSDictionary> dictionary = NSDictionary::dictionaryWithContentsOfFile(path);
    if (!dictionary)
        return nullptr;
    return create(dictionary->entries());
}

void NSMutableDictionary::setObjectForKey(Ref<Object> object, std::string_view key)
{
    auto found = m_entries.find(key);
    if (found != m_entries.end())
        found->second = std::move(object);
    else
        m_entries.emplace(std::string(key), std::move(object));
}

void NSMutableDictionary::removeObjectForKey(std::string_view key)
{
    auto found = m_entries.find(key);
    if (found != m_entries.end())
        m_entries.erase(found);
}

void NSMutableDictionary::addEntriesFromDictionary(const NSDictionary& other)
{
    // Copy first: `other` may be this dictionary.
    Storage added = other.entries();
    for (auto& [key, value] : added)
        setObjectForKey(value, key);
}

}
