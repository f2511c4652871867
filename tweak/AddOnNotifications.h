#pragma once

// The add-on's notifications inside SpringBoard, posted by the hooks and the settings reload and
// observed by the indicators, the confirmation alerts and the quick-killer popup. Posters and
// observers name them only through these constants, so a misspelt name does not compile.

namespace tweak::AddOnNotification {

// The device is locking or an application is coming to the front: every open confirmation alert
// closes without acting.
inline constexpr char closeConfirmationAlerts[] = "TorvaneSuicide";
// The same moment, for the quick-killer popup.
inline constexpr char closeQuickKillerPopup[] = "TorvaneKillActivatorAlertNow";

// An application started or ended. The object is a dictionary: the application's bundle
// identifier under `bundleIdentifierKey` and a boolean number under `fadeInKey` (YES: it runs).
inline constexpr char applicationStateChanged[] = "DashmereUpdateVisibility";
inline constexpr char bundleIdentifierKey[] = "BundleID";
inline constexpr char fadeInKey[] = "ToFadeIn";

// The switcher bar is about to show or hide. The object is a boolean number: YES when it shows.
inline constexpr char switcherBarChanged[] = "DashmereHideAllViews";

// SpringBoard opened a folder; the object is the folder.
inline constexpr char folderOpened[] = "TorvaneAnimateOutForOpenFolder";

// The settings were reloaded: indicators re-read their image, frame and opacity.
inline constexpr char settingsReloaded[] = "SwipeUpdateColorImageView";

}
