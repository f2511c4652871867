#include <foundation/NSDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSSortDescriptor.h>

namespace foundation {

using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;

TORVANE_DEFINE_CLASS(NSSortDescriptor)

// nil, numbers, strings, anything else.
static int kindRank(const Object* value)
{
    if (!value)
        return 0;
    if (value->isKindOf<NSNumber>())
        return 1;
    if (value->isKindOf<NSString>())
        return 2;
    return 3;
}

NSComparisonResult compareValues(const Object* a, const Object* b, SortSelector selector)
{
    const int rankA = kindRank(a), rankB = kindRank(b);
    if (rankA != rankB)
        return rankA < rankB ? NSOrderedAscending : NSOrderedDescending;
    if (rankA == 1)
        return static_cast<const NSNumber*>(a)->compare(*static_cast<const NSNumber*>(b));
    if (rankA == 2) {
        auto& stringA = *static_cast<const NSString*>(a);
        auto& stringB = *static_cast<const NSString*>(b);
        switch (selector) {
        case SortSelector::Compare:
            return stringA.compare(stringB);
        case SortSelector::LocalizedCompare:
            return stringA.localizedCompare(stringB);
        case SortSelector::LocalizedCaseInsensitiveCompare:
            return stringA.localizedCaseInsensitiveCompare(stringB);
        }
    }
    return NSOrderedSame;
}

Ref<NSSortDescriptor> NSSortDescriptor::create(std::string keyPath, bool ascending, SortSelector selector)
{
    return adoptRef(*new NSSortDescriptor(std::move(keyPath), ascending, selector));
}

NSSortDescriptor::NSSortDescriptor(std::string keyPath, bool ascending, SortSelector selector)
    : m_keyPath(std::move(keyPath))
    , m_ascending(ascending)
    , m_selector(selector)
{
    size_t start = 0;
    while (true) {
        const size_t dot = m_keyPath.find('.', start);
        m_components.push_back(m_keyPath.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
}

// The number a string or number gives for one of the numeric accessors; nil for other names
// or other values.
static RefPtr<Object> numericAccessor(const Object& value, const std::string& name)
{
    auto* string = runtime::dynamicCast<NSString>(&value);
    auto* number = runtime::dynamicCast<NSNumber>(&value);
    if (!string && !number)
        return nullptr;
    if (name == "floatValue")
        return NSNumber::numberWithFloat(string ? string->floatValue() : number->floatValue());
    if (name == "doubleValue")
        return NSNumber::numberWithDouble(string ? string->doubleValue() : number->doubleValue());
    if (name == "intValue")
        return NSNumber::numberWithInt(string ? string->intValue() : number->intValue());
    if (name == "integerValue")
        return NSNumber::numberWithInteger(string ? string->integerValue() : number->integerValue());
    if (name == "boolValue")
        return NSNumber::numberWithBool(string ? string->boolValue() : number->boolValue());
    return nullptr;
}

RefPtr<Object> NSSortDescriptor::valueFor(const Object& object) const
{
    RefPtr<Object> value = const_cast<Object*>(&object);
    for (const std::string& component : m_components) {
        if (!value)
            return nullptr;
        if (auto* dictionary = runtime::dynamicCast<NSDictionary>(value))
            value = dictionary->objectForKey(component);
        else
            value = numericAccessor(*value, component);
    }
    return value;
}

NSComparisonResult NSSortDescriptor::compareObjects(const Object& a, const Object& b) const
{
    RefPtr<Object> valueA = valueFor(a), valueB = valueFor(b);
    const NSComparisonResult order = compareValues(valueA.get(), valueB.get(), m_selector);
    return m_ascending ? order : static_cast<NSComparisonResult>(-order);
}

}
