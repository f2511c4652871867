#include "PreferenceValues.h"

#include <foundation/Format.h>
#include <foundation/NSNumber.h>

namespace pane {

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

}
