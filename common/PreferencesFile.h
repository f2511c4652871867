#pragma once

// The preferences file as both deliverables use it. The pane merges single keys into it while the
// add-on reads it in SpringBoard, so every operation reads the file afresh and every write
// replaces the whole file atomically: the other process never reads half a file.
//
// Both processes also merge into it (the add-on adds a missing switch at load), so a merge or a
// removal holds an advisory lock (lockPath) from its read to its write: two merges at the same
// moment both land, neither undoing the other's key. Readers take no lock and never wait.
//
// A file that exists but does not read as a dictionary counts as a file without entries, and
// merging into it or removing from it does nothing, so a damaged file is never overwritten by a
// partial one (the add-on's start-up discards it instead).

#include <foundation/NSDictionary.h>
#include <foundation/NSString.h>
#include <runtime/RefPtr.h>

namespace torvane {

class PreferencesFile {
public:
    PreferencesFile() = delete;

    static constexpr char lockPath[] = "/var/mobile/Library/Preferences/com.qelvo.torvane.plist.lock";

    static bool exists();
    // The file's dictionary; nil when there is no file or it does not read as a dictionary.
    static runtime::RefPtr<foundation::NSDictionary> read();

    // nil when there is no file or no key. With `isBool` the result is a boolean number made from
    // the entry's boolValue, NO for an absent entry; otherwise the entry itself.
    static runtime::RefPtr<runtime::Object> getObjectWithKey(const foundation::NSString* key, bool isBool);
    // Merges the entries into the file (same keys replaced, others kept) and writes the whole file.
    // A nil dictionary does nothing. A failed write (a full disk, a size limit) leaves the old file
    // as it was and is logged, once until a write succeeds again; callers carry on either way.
    static void writeDictToSave(const foundation::NSDictionary* entries);
    // Removes one key and writes the file back; nothing without a key or a readable file.
    static void removeObjectForMyKey(const foundation::NSString* key);

    // boolValue of a settings value: numbers and text ("YES", "1") as Foundation reads them;
    // anything else (an array or a dictionary under a boolean key), and nil, is NO.
    static bool boolValueOf(const runtime::Object* value);
};

}
