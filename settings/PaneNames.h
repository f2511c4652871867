#pragma once

// The names only the pane uses: the companion's Darwin notifications and the in-process
// notifications that carry its signals to the screen on top. What the pane shares with the add-on
// is in SharedNames.h.

namespace pane {

inline constexpr const char companionReloadRequest[] = "qelvo.nmbl.reloadinfo";
inline constexpr const char companionAppsLoaded[] = "qelvo.nimbrel.apps.loaded";
inline constexpr const char companionCheckOnApps[] = "qelvo.nimbrel.check.on.apps";

// Posted to the root list (…Del) or to the disabled-applications list.
inline constexpr const char checkOnAppsRoot[] = "CheckOnAppsTQDel";
inline constexpr const char checkOnAppLoadingRoot[] = "CheckOnAppLoadingTQDel";
inline constexpr const char checkOnAppsList[] = "CheckOnAppsTQ";
inline constexpr const char checkOnAppLoadingList[] = "CheckOnAppLoadingTQ";

}
