#pragma once

#include <foundation/Forward.h>
#include <runtime/Object.h>

#include <array>
#include <string_view>

namespace tweak {

// The add-on's settings and its operations on applications. Used only through class operations:
// no instance is ever made. Settings live in one property-list file that the settings pane merges
// single keys into; the add-on reads them once per reload into a process-wide cache, so the
// gesture and indicator code, which asks on every touch and every icon view, never touches the
// file. Everything runs on SpringBoard's main thread.
class SavedSwipeSettings {
public:
    SavedSwipeSettings() = delete;

    // Defaults of the theme, written into a fresh file and used whenever a value is missing.
    static constexpr std::string_view defaultThemeName = "Icon Outlines";
    static constexpr std::string_view defaultThemeDisplayName = "Red Glow";
    static constexpr std::string_view defaultFrame = "{{-7.75f,-8.75f},{74.5f,76.0f}}";
    static constexpr std::string_view defaultImagePath = "/Library/Application Support/Torvane/Themes/IconOutlines/GlowRed.png";
    static constexpr std::string_view defaultImageName = "GlowRed.png";
    static constexpr std::string_view defaultOpacity = "1.00";

    // Applications that always run and that the home-screen gesture, the indicator and the quick
    // killer leave alone: Mail, iFile, Phone and Cydia.
    static constexpr std::array<std::string_view, 4> neverEndedApplications {
        "com.apple.mobilemail",
        "eu.heinelt.ifile",
        "com.apple.mobilephone",
        "com.saurik.Cydia",
    };

    // --- The preferences file (torvane::PreferencesFile, shared with the settings pane). Each call
    // reads the file afresh; a damaged file is never overwritten by a partial one.

    // nil when there is no file or no key. With `isBool` the result is a boolean number made
    // from the entry's boolValue, NO for an absent entry; otherwise the entry itself.
    static runtime::RefPtr<runtime::Object> getObjectWithKey(const foundation::NSString* key, bool isBool);
    static runtime::RefPtr<runtime::Object> getObjectWithKey(std::string_view key, bool isBool);
    // Merges the entries into the file (same keys replaced, others kept) and writes the whole
    // file atomically. A nil dictionary does nothing.
    static void writeDictToSave(const foundation::NSDictionary* dict);
    // Removes one key and writes the file back atomically; nothing without a key or a file.
    static void removeObjectForMyKey(const foundation::NSString* key);
    static void removeObjectForMyKey(std::string_view key);
    // The file exists and holds an AlertToClearBadge entry, whatever its value.
    static bool doesAlertToClearBadgeExist();

    // Files from releases before the theme and badge-alert settings lack SelectedTheme or
    // AlertToClearBadge; such a file (and one that cannot be read) is deleted so the first load
    // writes a complete default file. Start-up runs this before the first load.
    static void discardOutdatedSettingsFile();

    // Fills the cache from the file, or writes the default file when there is none. Called at
    // start-up and whenever the settings pane signals a change. Never clears the
    // running-applications list.
    static void loadReloadAllDMRSettings();

    // Start-up: registers the quick-killer listener when the Activator library is installed.
    static void initialSetupCalled();

    // --- The cache. Answers from memory only.
    static bool getDashmereOnAppSwitcher();
    static bool getConfirmationAtHome();
    static bool getMoveImageAbove();
    static bool getDisableOnDock();
    static bool getLowerSensitivity();
    static bool getClearBadgeEnabled();
    static bool getAlertToClearBadge();
    // The float value of the OpacityValue text; 1.0 before the first load.
    static float getOpacityFloatValue();
    // The user's disabled applications; nil before the first load.
    static runtime::RefPtr<foundation::NSArray> getDisabledArray();
    static runtime::Ref<foundation::NSString> getColorPath();
    static runtime::Ref<foundation::NSString> getImageFrameAsString();
    static runtime::Ref<foundation::NSString> getCurrentThemeName();

    // --- Applications.

    // Ends the listed applications the way the switcher bar's close box does: each identifier with
    // an icon view in the switcher bar is closed there, others (and elements that are not strings)
    // are skipped. Does not look at the never-ended or disabled lists; callers filter first. NO
    // when nothing could be tried (no switcher icon model, or a nil or empty list), else YES.
    static bool superFinallyKillTheseApps(const foundation::NSArray* bundleIdentifiers);

    // YES when the identifier is on the disabled list or the never-ended list; nil gives NO.
    static bool isThisAppDisabled(const foundation::NSString* bundleIdentifier);
    // A new array of the elements in order, without never-ended and disabled entries; nil gives
    // an empty array.
    static runtime::Ref<foundation::NSMutableArray> removeAllDisabledAppsFromArray(const foundation::NSArray* identifiers);
    // Resident memory of the process in megabytes, "%f" (six decimals); "0.000000" when it
    // cannot be measured. Blocks until the `ps` pipeline ends.
    static runtime::Ref<foundation::NSString> getMemUsingAndCPUWithPID(int pid);

    // The running-applications list, in the order applications became running, as the
    // never-ended and disabled filter leaves it (a new array each time).
    static runtime::Ref<foundation::NSMutableArray> getFolderArray();
    // The running-applications list itself, unfiltered (an immutable copy), for diagnostics.
    static runtime::Ref<foundation::NSArray> allRunningApplications();
    // Appends the identifier unless it is already listed.
    static void writeToFolderArray(const foundation::NSString* bundleIdentifier);
    // Removes every occurrence of the identifier.
    static void removeFromFolderArray(const foundation::NSString* bundleIdentifier);
};

}
