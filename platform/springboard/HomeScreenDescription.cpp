#include <springboard/HomeScreenDescription.h>

namespace springboard {

HomeScreenDescription HomeScreenDescription::standard()
{
    HomeScreenDescription description;
    description.applications = {
        { "com.apple.mobilephone", "Phone" },
        { "com.apple.mobilemail", "Mail" },
        { "com.apple.mobilesafari", "Safari" },
        { "com.apple.mobileslideshow", "Photos" },
        { "com.apple.mobilecal", "Calendar" },
        { "com.apple.mobiletimer", "Clock" },
        { "com.apple.mobilenotes", "Notes" },
        { "com.apple.camera", "Camera" },
        { "com.apple.Maps", "Maps" },
        { "com.saurik.Cydia", "Cydia" },
        { "eu.heinelt.ifile", "iFile" },
    };
    description.dock = { "com.apple.mobilephone", "com.apple.mobilemail", "com.apple.mobilesafari" };
    description.pages = { { "com.apple.mobileslideshow", "folder:Utilities", "com.apple.camera", "com.apple.Maps", "com.saurik.Cydia", "eu.heinelt.ifile" } };
    description.folders = { { "Utilities", { "com.apple.mobilecal", "com.apple.mobiletimer", "com.apple.mobilenotes" } } };
    return description;
}

}
