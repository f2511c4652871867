#include "PreferenceValues.h"

#include "PaneNames.h"

#include <foundation/Format.h>
#include <foundation/NSFileManager.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNumber.h>

namespace pane {

namespace {

bool preferencesFileExists()
{
    return foundation::NSFileManager::defaultManager().fileExistsAtPath(preferencesPath);
}

runtime::RefPtr<foundation::NSDictionary> readPreferences()
{
    return foundation::NSDictionary::dictionaryWithContentsOfFile(preferencesPath);
}

}

bool PreferenceValues::boolValueOf(const runtime::Object* value)
{
    if (auto* string = runtime::dynamicCast<foundation::NSString>(value))
        return string->boolValue();
    if (auto* number = runtime::dynamicCast<foundation::NSNumber>(value))
        return number->boolValue();
    return false;
}

float PreferenceValues::floatValueOf(const runtime::Object* value)
{
    if (auto* number = runtime::dynamicCast<foundation::NSNumber>(value))
        return number->floatValue();
    if (auto* text = runtime::dynamicCast<foundation::NSString>(value))
        return text->floatValue();
    return 0;
}

std::string PreferenceValues::textOf(const foundation::NSDictionary& dictionary, std::string_view key)
{
    return foundation::format("%@", dictionary.objectForKey(key));
}

bool PreferenceValues::themeOffersImageAboveIcon(std::string_view themeName)
{
    return themeName != "Icon Outlines" && themeName != "Icon Label Bars";
}

runtime::RefPtr<runtime::Object> PreferenceValues::getObjectWithKey(const foundation::NSString* key, bool isBool)
{
    if (!key || !preferencesFileExists())
        return nullptr;
    auto preferences = readPreferences();
    runtime::RefPtr<runtime::Object> entry = preferences ? preferences->objectForKey(key->string()) : nullptr;
    if (isBool)
        return foundation::NSNumber::numberWithBool(boolValueOf(entry.get()));
    return entry;
}

void PreferenceValues::writeDictToSave(const foundation::NSDictionary* dictionary)
{
    if (!dictionary)
        return;
    auto merged = foundation::NSMutableDictionary::create();
    if (preferencesFileExists()) {
        auto existing = readPreferences();
        // A file that does not read as a dictionary is left alone rather than replaced by the few
        // keys given here, which would lose every other setting.
        if (!existing)
            return;
        merged = existing->mutableCopy();
    }
    merged->addEntriesFromDictionary(*dictionary);
    merged->writeToFile(preferencesPath, true);
}

void PreferenceValues::removeObjectForMyKey(const foundation::NSString* key)
{
    if (!key)
        return;
    auto existing = readPreferences();
    if (!existing)
        return;
    auto updated = existing->mutableCopy();
    updated->removeObjectForKey(key->string());
    updated->writeToFile(preferencesPath, true);
}

}
