#include "PreferencesFile.h"

#include "SharedNames.h"

#include <foundation/FileLock.h>
#include <foundation/NSFileManager.h>
#include <foundation/NSLog.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNumber.h>

namespace torvane {

using foundation::NSDictionary;
using runtime::RefPtr;

namespace {

// Writes the whole file; a failure is logged when it follows a success (or is the first write),
// so a full disk does not fill the log with one line per setting touched.
void writeWhole(const NSDictionary& preferences)
{
    static bool lastWriteFailed = false;
    bool written = preferences.writeToFile(preferencesPath, true);
    if (!written && !lastWriteFailed)
        foundation::NSLog("Torvane: could not write %@; the settings there are unchanged", foundation::NSStr(preferencesPath));
    lastWriteFailed = !written;
}

}

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
    auto lock = foundation::FileLock::exclusive(lockPath);
    auto merged = foundation::NSMutableDictionary::create();
    if (exists()) {
        auto existing = read();
        // Replacing an unreadable file by the few keys given here would lose every other setting.
        if (!existing)
            return;
        merged = existing->mutableCopy();
    }
    merged->addEntriesFromDictionary(*entries);
    writeWhole(merged);
}

void PreferencesFile::removeObjectForMyKey(const foundation::NSString* key)
{
    if (!key)
        return;
    auto lock = foundation::FileLock::exclusive(lockPath);
    auto existing = read();
    if (!existing)
        return;
    auto updated = existing->mutableCopy();
    updated->removeObjectForKey(key->string());
    writeWhole(updated);
}

}
