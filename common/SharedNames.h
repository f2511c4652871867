#pragma once

// The names the add-on and the settings pane both use: the files they share with each other and
// with the companion, and the Darwin notifications that cross between their processes. Each
// deliverable compiles this header on its own; neither links the other.

namespace torvane {

inline constexpr char version[] = "1.2.1";

// The user's settings: the pane merges single keys in, the add-on reads them on every reload.
inline constexpr char preferencesPath[] = "/var/mobile/Library/Preferences/com.qelvo.torvane.plist";

// The add-on draws the sample icon and its label here when the pane asks for a preview.
inline constexpr char previewIconPath[] = "/var/mobile/Library/Preferences/TorvanePreviewIcon.png";
inline constexpr char previewLabelPath[] = "/var/mobile/Library/Preferences/TorvanePreviewLabel.png";

// The companion, Nimbrel: its library (the pane requires it) and the file of application records
// it writes for both deliverables.
inline constexpr char companionLibraryPath[] = "/Library/MobileSubstrate/DynamicLibraries/Nimbrel.dylib";
inline constexpr char companionDataPath[] = "/var/mobile/Library/Nimbrel/com.qelvo.nimbrel.plist";

// The companion's data file: a dictionary whose `applications` entry is an array of records, one
// per home-screen application or folder.
namespace CompanionRecord {
inline constexpr char applications[] = "ApplicationData";
inline constexpr char bundleIdentifier[] = "BundleID";
inline constexpr char name[] = "AppName";
inline constexpr char iconPath[] = "IconPath";
inline constexpr char isFolder[] = "IsFolder";
}

// Darwin notifications from the pane to the add-on.
namespace DarwinNotification {
// The settings changed: the add-on reloads them and every indicator follows.
inline constexpr char reloadSettings[] = "com.qelvo.torvane.reload.settings";
// The pane wants fresh preview images of the sample icon.
inline constexpr char newPreview[] = "com.qelvo.torvane.new.preview";
}

}
