#include "PreferencesFile.h"

#include "SharedNames.h"

#include <foundation/NSFileManager.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNumber.h>

namespace torvane {

using foundation::NSDictionary;
using runtime::RefPtr;

bool PreferencesFile::exists()
{
    return foundation::NSFileManager::defaultManager().fileExistsAtPath(preferencesPath);
}

RefPtr<NSDictionary> PreferencesFile::read()
{
    return NSDictionary::dictionaryWithContentsOfFile(preferencesPath);
}

bool PreferencesFile::boolValueOf(const runtime::Object* value)
{
    if (auto* string = runtime::dynamicCast<foundation::NSString>(value))
        return string->boolValue();
    if (auto* number = runtime::dynamicCast<foundation::NSNumber>(value))
        return number->boolValue();
    return false;
}

RefPtr<runtime::Object> PreferencesFile::getObjectWithKey(const foundation::NSString* key, bool isBool)
{
    if (!key || !exists())
        return nullptr;
    auto preferences = read();
    RefPtr<runtime::Object> entry = preferences ? preferences->objectForKey(key->string()) : nullptr;
    if (isBool)
        return foundation::NSNumber::numberWithBool(boolValueOf(entry.get()));
    return entry;
}

void PreferencesFile::writeDictToSave(const NSDictionary* entries)
{
    if (!entries)
        return;
    auto merged = foundation::NSMutableDictionary::create();
    if (exists()) {
        auto existing = read();
        // Replacing an unreadable file by the few keys given here would lose every other setting.
        if (!existing)
            return;
        merged = existing->mutableCopy();
    }
    merged->addEntriesFromDictionary(*entries);
    merged->writeToFile(preferencesPath, true);
}

void PreferencesFile::removeObjectForMyKey(const foundation::NSString* key)
{
    if (!key)
        return;
    auto existing = read();
    if (!existing)
        return;
    auto updated = existing->mutableCopy();
    updated->removeObjectForKey(key->string());
    updated->writeToFile(preferencesPath, true);
}

}
