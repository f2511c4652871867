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

# Applications start as real processes holding the memory they were given; 0.35 seconds later each
# running one is marked by the theme's glow: on a page (Maps), in the dock (Safari) and on the
# folder that holds one (Utilities, for Notes).
launch com.apple.mobilesafari
launch com.apple.mobilenotes mb 24
launch com.apple.Maps mb 40
wait 1
screenshot springboard 02-indicators.png
dump springboard 02-indicators.json
dump companion companion.json

# A swipe up on Maps asks first, with the memory its process uses; Kill ends it.
swipe up Maps by 20
screenshot springboard 03-confirm-maps.png
alert tap "Kill"

# A swipe up on a folder ends its running applications, after asking.
launch com.apple.mobilecal mb 16
wait 1
swipe up Utilities by 20
screenshot springboard 04-confirm-folder.png
alert tap "Kill"
screenshot springboard 05-folder-ended.png

# In the switcher bar a swipe ends an application at once, without asking.
launch com.apple.camera mb 12
switcher show
screenshot springboard 06-switcher.png
swipe up Camera by 10
screenshot springboard 07-switcher-camera-ended.png
switcher hide

# A swipe down clears a badge, after asking.
badge com.apple.mobileslideshow 3
swipe down Photos by 10
screenshot springboard 08-badge-question.png
alert tap "Clear"
screenshot springboard 09-badge-cleared.png
dump springboard 09-badge-cleared.json

# Locking closes whatever alert is open and ends nothing.
swipe up Safari by 20
lock
screenshot springboard 10-locked.png
unlock

# The quick killer: an Activator event assigned to it lists the running applications, largest
# memory first, each with a red Kill button, the total in the title.
launch com.apple.Maps mb 40
launch com.apple.camera mb 12
activator assign libactivator.statusbar.doubletap
activator send libactivator.statusbar.doubletap
wait 1
screenshot springboard 11-quick-killer.png
dump springboard 11-quick-killer.json
# One tap ends a row's application; Kill All ends the rest.
popup kill "Maps"
screenshot springboard 12-quick-killer-one-ended.png
alert tap "Kill All"
dump springboard 13-quick-killer-all-ended.json

# The settings pane, in the Settings application: the first opening shows the information alert.
settings open
screenshot settings 14-settings-first-run.png
settings alert "Dismiss"
# A quarter of a second after the pane opens, it asks the add-on for a picture of a real icon and
# its label, which the preview then shows.
wait 0.5
# A switch writes its key at once: no more question before a swipe ends an application.
settings toggle ConfirmationHomeID off
screenshot settings 15-settings-root.png
dump settings 15-settings-root.json
# Disabling an application asks first; Maps is then drawn at half strength with its marker.
settings select NeverShowID
settings row "Maps"
screenshot settings 16-disable-question.png
settings sheet "Yes"
screenshot settings 17-disabled-list.png
settings back
# The theme chooser previews the picked image around the sample icon; Save keeps it.
settings select ChooseImageID
settings alert "Dismiss"
settings row "Green Bar"
screenshot settings 18-theme-chooser.png
settings save
screenshot settings 19-settings-preview.png
dump prefs prefs-after-settings.json
# Leaving Settings tells the add-on: the new theme shows on the running applications, Maps
# (disabled) shows none, and a swipe ends Camera without asking.
settings leave
launch com.apple.Maps mb 40
launch com.apple.camera mb 12
launch com.apple.mobilesafari
home
wait 1
screenshot springboard 20-home-after-settings.png
swipe up Camera by 20
screenshot springboard 21-camera-ended-without-asking.png
dump springboard 21-home-after-settings.json
)scenario";
}

std::map<std::string, std::string> tourCaptions()
{
    return {
        { "01-home.png", "A fresh device: the standard applications on the home screen, none running yet." },
        { "02-indicators.png", "Safari, Notes and Maps launched: a red glow marks Maps, Safari in the dock and the Utilities folder that holds Notes." },
        { "03-confirm-maps.png", "A finger moved up on Maps: the add-on asks first, stating the memory its process uses." },
        { "04-confirm-folder.png", "A finger moved up on the Utilities folder: it asks to end the folder's running applications." },
        { "05-folder-ended.png", "Kill tapped: the folder's applications ended and its glow is gone." },
        { "06-switcher.png", "The switcher bar, with the running applications." },
        { "07-switcher-camera-ended.png", "A finger moved up on Camera in the switcher bar ends it at once, without asking." },
        { "08-badge-question.png", "A finger moved down on Photos, which shows a badge: the add-on asks before clearing it." },
        { "09-badge-cleared.png", "Clear tapped: the badge is gone." },
        { "10-locked.png", "Locking the device closed the open question; nothing was ended." },
        { "11-quick-killer.png", "The Activator event raises the quick killer: running applications, largest memory first, the total in the title." },
        { "12-quick-killer-one-ended.png", "Maps's red Kill button tapped: its row slides out and the total drops." },
        { "14-settings-first-run.png", "The settings pane opened for the first time: its information alert." },
        { "15-settings-root.png", "The pane's root list, with the home-screen confirmation switched off." },
        { "16-disable-question.png", "In the list of applications to leave alone, Maps tapped: the pane asks before disabling it." },
        { "17-disabled-list.png", "Maps disabled: drawn at half strength with its marker." },
        { "18-theme-chooser.png", "The theme chooser with Green Bar picked, previewed around the sample icon." },
        { "19-settings-preview.png", "Saved: the root list's preview shows the new theme." },
        { "20-home-after-settings.png", "Back on the home screen: the new theme on the running applications, and none on Maps, which is disabled." },
        { "21-camera-ended-without-asking.png", "A finger moved up on Camera ends it at once: the confirmation is off." },
    };
}

}
