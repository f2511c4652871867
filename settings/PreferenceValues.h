#pragma once

// How the pane reads the values it finds in the preferences file and the companion's records.
// The file operations themselves are torvane::PreferencesFile, shared with the add-on.

#include <foundation/NSDictionary.h>
#include <foundation/NSString.h>
#include <runtime/RefPtr.h>

#include <string>
#include <string_view>

namespace pane {

class PreferenceValues {
public:
    // floatValue of a property-list value: numbers and text as Foundation reads them; anything
    // else, and nil, is 0. (boolValue is torvane::PreferencesFile::boolValueOf.)
    static float floatValueOf(const runtime::Object* value);
    // The text form ("%@") of an entry; "(null)" when it is absent.
    static std::string textOf(const foundation::NSDictionary& dictionary, std::string_view key);

    // Whether the theme of this name offers the image above the icon: "Icon Outlines" and
    // "Icon Label Bars" keep it behind. The root greys its switch out for them, and saving one
    // turns the setting off.
    static bool themeOffersImageAboveIcon(std::string_view themeName);
};

}
