#pragma once

// The pane's own copy of the three preferences-file operations the add-on has too: a key read
// afresh from the file, a dictionary merged into it, a key removed. Every write replaces the whole
// file atomically, so the add-on in another process never reads half a file.

#include <foundation/NSDictionary.h>
#include <foundation/NSString.h>
#include <runtime/RefPtr.h>

#include <string>
#include <string_view>

namespace pane {

class PreferenceValues {
public:
    static runtime::RefPtr<runtime::Object> getObjectWithKey(const foundation::NSString* key, bool isBool);
    static void writeDictToSave(const foundation::NSDictionary* dictionary);
    static void removeObjectForMyKey(const foundation::NSString* key);

    // boolValue of a property-list value: numbers and text ("YES", "1") as Foundation reads them;
    // anything else, and nil, is NO.
    static bool boolValueOf(const runtime::Object* value);
    // floatValue the same way; anything else, and nil, is 0.
    static float floatValueOf(const runtime::Object* value);
    // The text form ("%@") of an entry; "(null)" when it is absent.
    static std::string textOf(const foundation::NSDictionary& dictionary, std::string_view key);

    // Whether the theme of this name offers the image above the icon: "Icon Outlines" and
    // "Icon Label Bars" keep it behind. The root greys its switch out for them, and saving one
    // turns the setting off.
    static bool themeOffersImageAboveIcon(std::string_view themeName);
};

}
