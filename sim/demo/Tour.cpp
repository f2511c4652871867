#include "Tour.h"

namespace sim::demo {

std::string_view tourScript()
{
    return R"scenario(# The Torvane tour.
# A fresh device with the standard applications: nothing runs yet.
boot
screenshot springboard 01-home.png
dump springboard 01-home.json
dump prefs prefs-after-boot.json

# Applications start as real processes holding the memory they were given.
launch com.apple.mobilesafari
launch com.apple.mobilenotes mb 24
launch com.apple.Maps mb 40
wait 1
screenshot springboard 02-running.png
dump springboard 02-running.json
dump companion companion.json

# The switcher bar lists running applications, most recently active first.
switcher show
screenshot springboard 03-switcher.png
switcher hide

# Folders open over the home screen.
folder open "Utilities"
screenshot springboard 04-folder.png
folder close

# Badges, and an application that ends by itself.
badge com.apple.mobilecal 3
quit com.apple.Maps
screenshot springboard 05-badge-and-quit.png
dump springboard 05-badge-and-quit.json

# Locking the device.
lock
screenshot springboard 06-locked.png
unlock
)scenario";
}

}
