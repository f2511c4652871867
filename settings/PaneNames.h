#pragma once

// The names the pane shares with the add-on, the companion and its own screens: files, Darwin
// notifications and the in-process notifications that carry the companion's signals to the screen
// on top.

namespace pane {

inline constexpr const char preferencesPath[] = "/var/mobile/Library/Preferences/com.qelvo.torvane.plist";
inline constexpr const char companionLibraryPath[] = "/Library/MobileSubstrate/DynamicLibraries/Nimbrel.dylib";
inline constexpr const char companionDataPath[] = "/var/mobile/Library/Nimbrel/com.qelvo.nimbrel.plist";

inline constexpr const char reloadSettingsNotification[] = "com.qelvo.torvane.reload.settings";
inline constexpr const char newPreviewNotification[] = "com.qelvo.torvane.new.preview";
inline constexpr const char companionReloadRequest[] = "qelvo.nmbl.reloadinfo";
inline constexpr const char companionAppsLoaded[] = "qelvo.nimbrel.apps.loaded";
inline constexpr const char companionCheckOnApps[] = "qelvo.nimbrel.check.on.apps";

// Posted to the root list (…Del) or to the disabled-applications list.
inline constexpr const char checkOnAppsRoot[] = "CheckOnAppsTQDel";
inline constexpr const char checkOnAppLoadingRoot[] = "CheckOnAppLoadingTQDel";
inline constexpr const char checkOnAppsList[] = "CheckOnAppsTQ";
inline constexpr const char checkOnAppLoadingList[] = "CheckOnAppLoadingTQ";

inline constexpr const char version[] = "1.2.1";

}
