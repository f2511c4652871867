#include <preferences/PSSpecifier.h>

#include <foundation/DeviceRoot.h>
#include <foundation/NSLog.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <foundation/PropertyList.h>
#include <runtime/Selector.h>

#include <array>
#include <filesystem>
#include <utility>

namespace preferences {

TORVANE_DEFINE_CLASS(PSSpecifier)

namespace {

constexpr std::array<std::pair<std::string_view, PSCellType>, 7> cellTypeNames { {
    { "PSGroupCell", PSCellType::Group },
    { "PSLinkCell", PSCellType::Link },
    { "PSLinkListCell", PSCellType::LinkList },
    { "PSSwitchCell", PSCellType::Switch },
    { "PSSliderCell", PSCellType::Slider },
    { "PSButtonCell", PSCellType::Button },
    { "PSStaticTextCell", PSCellType::StaticText },
} };

std::optional<PSCellType> cellTypeNamed(std::string_view name)
{
    for (auto& [typeName, type] : cellTypeNames) {
        if (typeName == name)
            return type;
    }
    return std::nullopt;
}

std::string domainPath(const std::string& domain)
{
    return "/var/mobile/Library/Preferences/" + domain + ".plist";
}

}

runtime::Ref<PSSpecifier> PSSpecifier::create(std::string name, PSCellType type, runtime::Object* target)
{
    return runtime::adoptRef(*new PSSpecifier(std::move(name), type, target));
}

PSSpecifier::PSSpecifier(std::string name, PSCellType type, runtime::Object* target)
    : m_name(std::move(name))
    , m_type(type)
    , m_target(target)
    , m_properties(foundation::NSMutableDictionary::create())
{
}

runtime::RefPtr<PSSpecifier> PSSpecifier::createFromItem(const runtime::Object& item, runtime::Object* target)
{
    auto* dictionary = runtime::dynamicCast<foundation::NSDictionary>(&item);
    if (!dictionary) {
        foundation::NSLog("specifier item is not a dictionary; skipped");
        return nullptr;
    }
    auto cell = dictionary->stringForKey("cell");
    auto type = cell ? cellTypeNamed(cell->string()) : std::nullopt;
    if (!type) {
        foundation::NSLog("specifier item has an unknown cell type \"%@\"; skipped", cell ? cell->string() : std::string("(none)"));
        return nullptr;
    }
    auto label = dictionary->stringForKey("label");
    auto specifier = create(label ? label->string() : std::string(), *type, target);
    specifier->m_properties->addEntriesFromDictionary(*dictionary);
    if (auto identifier = dictionary->stringForKey("id"))
        specifier->m_identifier = identifier->string();
    if (auto getter = dictionary->stringForKey("get"))
        specifier->m_getter = getter->string();
    if (auto setter = dictionary->stringForKey("set"))
        specifier->m_setter = setter->string();
    return specifier;
}

runtime::Object* PSSpecifier::propertyForKey(std::string_view key) const
{
    auto value = m_properties->objectForKey(key);
    // The dictionary keeps the value alive; the raw pointer stays valid while the property does.
    return value.get();
}

void PSSpecifier::setPropertyForKey(runtime::RefPtr<runtime::Object> value, std::string_view key)
{
    if (!value) {
        m_properties->removeObjectForKey(key);
        return;
    }
    m_properties->setObjectForKey(*value, key);
}

std::optional<std::string> PSSpecifier::stringProperty(std::string_view key) const
{
    auto* value = propertyForKey(key);
    if (auto* string = runtime::dynamicCast<foundation::NSString>(value))
        return string->string();
    if (auto* number = runtime::dynamicCast<foundation::NSNumber>(value))
        return number->description();
    return std::nullopt;
}

bool PSSpecifier::isEnabled() const
{
    auto* value = propertyForKey("enabled");
    if (auto* number = runtime::dynamicCast<foundation::NSNumber>(value))
        return number->boolValue();
    if (auto* string = runtime::dynamicCast<foundation::NSString>(value))
        return string->string() != "NO" && string->string() != "0" && string->string() != "false";
    return true;
}

runtime::RefPtr<runtime::Object> PSSpecifier::readValue()
{
    if (!m_getter.empty()) {
        auto* target = m_target.get();
        auto selector = runtime::Selector::named(m_getter);
        if (!target || !target->respondsToSelector(selector)) {
            foundation::NSLog("getter %@ is not answered by the specifier's target; skipped", m_getter);
            return nullptr;
        }
        auto implementation = reinterpret_cast<PSGetterImplementation>(target->objcClass().lookup(selector));
        return implementation(target, selector, this);
    }
    return readDefaultsValue();
}

runtime::RefPtr<runtime::Object> PSSpecifier::readDefaultsValue() const
{
    auto key = stringProperty("key");
    auto domain = stringProperty("defaults");
    if (key && domain) {
        if (auto stored = foundation::NSDictionary::dictionaryWithContentsOfFile(domainPath(*domain))) {
            if (auto value = stored->objectForKey(*key))
                return value;
        }
    }
    return propertyForKey("default");
}

bool PSSpecifier::writeValue(runtime::RefPtr<runtime::Object> value)
{
    if (!m_setter.empty()) {
        auto* target = m_target.get();
        auto selector = runtime::Selector::named(m_setter);
        if (!target || !target->respondsToSelector(selector)) {
            foundation::NSLog("setter %@ is not answered by the specifier's target; skipped", m_setter);
            return false;
        }
        runtime::Ref<PSSpecifier> protect(*this);
        auto implementation = reinterpret_cast<PSSetterImplementation>(target->objcClass().lookup(selector));
        implementation(target, selector, value.get(), this);
        return true;
    }
    return writeDefaultsValue(value.get());
}

bool PSSpecifier::writeDefaultsValue(runtime::Object* value) const
{
    auto key = stringProperty("key");
    auto domain = stringProperty("defaults");
    // A nil value has nothing to store, and writing it would drop the key the file holds.
    if (!key || !domain || !value)
        return false;
    // Read afresh so that keys other writers stored since are kept. A file that is there but cannot
    // be read is left alone rather than replaced by this one key.
    auto path = domainPath(*domain);
    auto stored = foundation::NSMutableDictionary::dictionaryWithContentsOfFile(path);
    if (!stored) {
        auto hostPath = foundation::DeviceRoot::resolve(path);
        std::error_code error;
        if (!hostPath || std::filesystem::exists(*hostPath, error) || error) {
            foundation::NSLog("preferences file %@ cannot be read; %@ not saved", path, *key);
            return false;
        }
        stored = foundation::NSMutableDictionary::create();
    }
    stored->setObjectForKey(*value, *key);
    return foundation::PropertyList::writeFile(*stored, path, true);
}

}
