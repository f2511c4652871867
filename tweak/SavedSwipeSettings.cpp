#include "SavedSwipeSettings.h"

#include "MemoryProbe.h"
#include "PreferencesFile.h"
#include "SharedNames.h"
#include "TorvaneActivatorSetup.h"

#include <activator/LAActivator.h>
#include <foundation/NSArray.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSFileManager.h>
#include <foundation/NSMutableArray.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <springboard/SBAppSwitcherController.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconViewMap.h>

namespace tweak {

using foundation::NSArray;
using foundation::NSDictionary;
using foundation::NSFileManager;
using foundation::NSMutableArray;
using foundation::NSMutableDictionary;
using foundation::NSNumber;
using foundation::NSStr;
using foundation::NSString;
using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;
using torvane::PreferencesFile;

namespace {

constexpr std::string_view keyClearBadgeEnabled = "ClearBadgeEnabled";
constexpr std::string_view keyAlertToClearBadge = "AlertToClearBadge";
constexpr std::string_view keyDisableTheseApps = "DisableTheseApps";
constexpr std::string_view keyOpacityValue = "OpacityValue";
constexpr std::string_view keySelectedTheme = "SelectedTheme";
constexpr std::string_view themeKeyName = "Name";
constexpr std::string_view themeKeyDisplayName = "DisplayName";
constexpr std::string_view themeKeyFrame = "Frame";
constexpr std::string_view themeKeyImagePath = "ImagePath";
constexpr std::string_view themeKeyImageName = "ImageName";

constexpr std::string_view activatorLibraryPath = "/Library/MobileSubstrate/DynamicLibraries/Activator.dylib";

struct SettingsState;

// The seven switches of the settings pane: the key, the value a fresh file gets and the cache
// holds until a file says otherwise, and where the cache keeps it.
struct Switch {
    std::string_view key;
    bool defaultValue;
    bool SettingsState::*flag;
};

// The process-wide state of the add-on's settings. Allocated once and never destroyed: it lives as
// long as SpringBoard, and nothing may run its destructors while hooks can still be called.
struct SettingsState {
    SettingsState();

    bool dashmereOnAppSwitcher;
    bool confirmationAtHome;
    bool moveImageAbove;
    bool disableOnDock;
    bool lowerSensitivity;
    bool clearBadgeEnabled;
    bool alertToClearBadge;
    RefPtr<NSArray> disabledApps;
    RefPtr<NSString> colorPath;
    RefPtr<NSString> frameText;
    RefPtr<NSString> themeName;
    RefPtr<NSString> opacityText;
    RefPtr<NSMutableArray> runningApplications;
    RefPtr<TorvaneActivatorSetup> quickKillerListener;
};

constexpr std::array<Switch, 7> switches { {
    { "DashmereOnAppSwitcher", true, &SettingsState::dashmereOnAppSwitcher },
    { "ConfirmationAlertAtHome", true, &SettingsState::confirmationAtHome },
    { "MoveImageAboveIcon", false, &SettingsState::moveImageAbove },
    { "DisableOnDock", false, &SettingsState::disableOnDock },
    { "LowerSensitivity", false, &SettingsState::lowerSensitivity },
    { keyClearBadgeEnabled, true, &SettingsState::clearBadgeEnabled },
    { keyAlertToClearBadge, true, &SettingsState::alertToClearBadge },
} };

void resetFlagsToDefaults(SettingsState& settings)
{
    for (auto& setting : switches)
        settings.*setting.flag = setting.defaultValue;
}

SettingsState::SettingsState()
{
    resetFlagsToDefaults(*this);
}

SettingsState& state()
{
    static auto* settings = new SettingsState;
    return *settings;
}

NSMutableArray& runningApplications()
{
    auto& settings = state();
    if (!settings.runningApplications)
        settings.runningApplications = NSMutableArray::create();
    return *settings.runningApplications;
}

// Text settings are read through their "%@" form, so a number under OpacityValue works as well
// as its text.
Ref<NSString> textOf(const Object& value)
{
    return NSString::stringWithFormat("%@", &value);
}

Ref<NSString> textOr(const RefPtr<Object>& value, std::string_view fallback)
{
    return value ? textOf(*value) : NSStr(fallback);
}

Ref<NSDictionary> defaultTheme()
{
    auto theme = NSMutableDictionary::create();
    theme->setObjectForKey(NSStr(SavedSwipeSettings::defaultThemeName), themeKeyName);
    theme->setObjectForKey(NSStr(SavedSwipeSettings::defaultThemeDisplayName), themeKeyDisplayName);
    theme->setObjectForKey(NSStr(SavedSwipeSettings::defaultFrame), themeKeyFrame);
    theme->setObjectForKey(NSStr(SavedSwipeSettings::defaultImagePath), themeKeyImagePath);
    theme->setObjectForKey(NSStr(SavedSwipeSettings::defaultImageName), themeKeyImageName);
    return theme;
}

Ref<NSDictionary> defaultPreferences()
{
    auto preferences = NSMutableDictionary::create();
    for (auto& setting : switches)
        preferences->setObjectForKey(NSNumber::numberWithBool(setting.defaultValue), setting.key);
    preferences->setObjectForKey(NSArray::create(), keyDisableTheseApps);
    preferences->setObjectForKey(NSStr(SavedSwipeSettings::defaultOpacity), keyOpacityValue);
    preferences->setObjectForKey(defaultTheme(), keySelectedTheme);
    return preferences;
}

void fillCacheFromFile(SettingsState& settings, const NSDictionary* preferences)
{
    auto entry = [preferences](std::string_view key) -> RefPtr<Object> {
        return preferences ? preferences->objectForKey(key) : nullptr;
    };

    for (auto& setting : switches) {
        if (auto value = entry(setting.key)) {
            settings.*setting.flag = PreferencesFile::boolValueOf(value.get());
        } else if (setting.key == keyClearBadgeEnabled) {
            // Files written before the badge gesture existed lack its switch; it is added once so
            // the settings pane shows it on, as the gesture behaves.
            NSDictionary::Storage added;
            added.emplace(std::string(keyClearBadgeEnabled), NSNumber::numberWithBool(true));
            SavedSwipeSettings::writeDictToSave(NSDictionary::create(std::move(added)).ptr());
        }
    }

    // Anything but an array under DisableTheseApps disables nothing.
    auto disabled = runtime::dynamicCast<NSArray>(entry(keyDisableTheseApps));
    settings.disabledApps = disabled ? RefPtr<NSArray>(disabled->copy()) : RefPtr<NSArray>(NSArray::create());
    settings.opacityText = textOr(entry(keyOpacityValue), SavedSwipeSettings::defaultOpacity);

    // A SelectedTheme that is not a dictionary counts as absent.
    RefPtr<NSDictionary> theme = runtime::dynamicCast<NSDictionary>(entry(keySelectedTheme));
    auto themeEntry = [&theme](std::string_view key) -> RefPtr<Object> {
        return theme ? theme->objectForKey(key) : nullptr;
    };
    settings.frameText = textOr(themeEntry(themeKeyFrame), SavedSwipeSettings::defaultFrame);
    settings.colorPath = textOr(themeEntry(themeKeyImagePath), SavedSwipeSettings::defaultImagePath);
    settings.themeName = textOr(themeEntry(themeKeyName), SavedSwipeSettings::defaultThemeName);
}

void fillCacheWithDefaults(SettingsState& settings)
{
    resetFlagsToDefaults(settings);
    settings.disabledApps = NSArray::create();
    settings.themeName = NSStr(SavedSwipeSettings::defaultThemeName);
    settings.frameText = NSStr(SavedSwipeSettings::defaultFrame);
    settings.colorPath = NSStr(SavedSwipeSettings::defaultImagePath);
    settings.opacityText = NSStr(SavedSwipeSettings::defaultOpacity);
}

}

RefPtr<Object> SavedSwipeSettings::getObjectWithKey(const NSString* key, bool isBool)
{
    return PreferencesFile::getObjectWithKey(key, isBool);
}

RefPtr<Object> SavedSwipeSettings::getObjectWithKey(std::string_view key, bool isBool)
{
    return getObjectWithKey(NSStr(key).ptr(), isBool);
}

void SavedSwipeSettings::writeDictToSave(const NSDictionary* dict)
{
    PreferencesFile::writeDictToSave(dict);
}

void SavedSwipeSettings::removeObjectForMyKey(const NSString* key)
{
    PreferencesFile::removeObjectForMyKey(key);
}

void SavedSwipeSettings::removeObjectForMyKey(std::string_view key)
{
    removeObjectForMyKey(NSStr(key).ptr());
}

bool SavedSwipeSettings::doesAlertToClearBadgeExist()
{
    if (!PreferencesFile::exists())
        return false;
    auto preferences = PreferencesFile::read();
    return preferences && preferences->objectForKey(keyAlertToClearBadge);
}

void SavedSwipeSettings::discardOutdatedSettingsFile()
{
    if (!getObjectWithKey(keySelectedTheme, false) || !doesAlertToClearBadgeExist())
        NSFileManager::defaultManager().removeItemAtPath(torvane::preferencesPath); // nothing to do if it fails
}

void SavedSwipeSettings::loadReloadAllDMRSettings()
{
    auto& settings = state();
    resetFlagsToDefaults(settings);
    runningApplications(); // created by the first load; a reload keeps it

    if (PreferencesFile::exists()) {
        auto preferences = PreferencesFile::read();
        fillCacheFromFile(settings, preferences.get());
        return;
    }
    writeDictToSave(defaultPreferences().ptr());
    fillCacheWithDefaults(settings);
}

void SavedSwipeSettings::initialSetupCalled()
{
    if (!NSFileManager::defaultManager().fileExistsAtPath(activatorLibraryPath))
        return;
    auto listener = TorvaneActivatorSetup::create();
    activator::LAActivator::sharedInstance().registerListener(listener.get(), TorvaneActivatorSetup::listenerName);
    // Kept for the life of SpringBoard, like the listener registration itself.
    state().quickKillerListener = std::move(listener);
}

bool SavedSwipeSettings::getDashmereOnAppSwitcher() { return state().dashmereOnAppSwitcher; }
bool SavedSwipeSettings::getConfirmationAtHome() { return state().confirmationAtHome; }
bool SavedSwipeSettings::getMoveImageAbove() { return state().moveImageAbove; }
bool SavedSwipeSettings::getDisableOnDock() { return state().disableOnDock; }
bool SavedSwipeSettings::getLowerSensitivity() { return state().lowerSensitivity; }
bool SavedSwipeSettings::getClearBadgeEnabled() { return state().clearBadgeEnabled; }
bool SavedSwipeSettings::getAlertToClearBadge() { return state().alertToClearBadge; }

float SavedSwipeSettings::getOpacityFloatValue()
{
    auto& text = state().opacityText;
    return text ? text->floatValue() : NSStr(defaultOpacity)->floatValue();
}

RefPtr<NSArray> SavedSwipeSettings::getDisabledArray() { return state().disabledApps; }

Ref<NSString> SavedSwipeSettings::getColorPath()
{
    auto& text = state().colorPath;
    return text ? Ref<NSString>(*text) : NSStr(defaultImagePath);
}

Ref<NSString> SavedSwipeSettings::getImageFrameAsString()
{
    auto& text = state().frameText;
    return text ? Ref<NSString>(*text) : NSStr(defaultFrame);
}

Ref<NSString> SavedSwipeSettings::getCurrentThemeName()
{
    auto& text = state().themeName;
    return text ? Ref<NSString>(*text) : NSStr(defaultThemeName);
}

bool SavedSwipeSettings::superFinallyKillTheseApps(const NSArray* bundleIdentifiers)
{
    RefPtr<springboard::SBIconViewMap> switcherMap = springboard::SBIconViewMap::switcherMap();
    springboard::SBIconModel* model = switcherMap ? switcherMap->iconModel() : nullptr;
    if (!model || !bundleIdentifiers || bundleIdentifiers->count() == 0)
        return false;

    // Closing an icon changes the switcher bar, and may change whatever list the caller holds.
    auto identifiers = bundleIdentifiers->copy();
    RefPtr<springboard::SBAppSwitcherController> switcher = springboard::SBAppSwitcherController::sharedInstance();
    for (auto& element : *identifiers) {
        auto* identifier = runtime::dynamicCast<NSString>(element);
        if (!identifier)
            continue;
        auto* icon = model->applicationIconForDisplayIdentifier(identifier->string());
        if (!icon)
            continue;
        auto* iconView = switcherMap->iconViewForIcon(icon);
        if (iconView && switcher)
            switcher->iconCloseBoxTapped(iconView);
    }
    return true;
}

bool SavedSwipeSettings::isThisAppDisabled(const NSString* bundleIdentifier)
{
    if (!bundleIdentifier)
        return false;
    if (auto& disabled = state().disabledApps; disabled && disabled->containsObject(*bundleIdentifier))
        return true;
    for (auto neverEnded : neverEndedApplications) {
        if (bundleIdentifier->isEqualToString(neverEnded))
            return true;
    }
    return false;
}

Ref<NSMutableArray> SavedSwipeSettings::removeAllDisabledAppsFromArray(const NSArray* identifiers)
{
    Ref<NSMutableArray> remaining = identifiers ? identifiers->mutableCopy() : NSMutableArray::create();
    for (auto neverEnded : neverEndedApplications)
        remaining->removeObject(NSStr(neverEnded));
    if (auto disabled = state().disabledApps) {
        for (auto& identifier : *disabled)
            remaining->removeObject(identifier);
    }
    return remaining;
}

Ref<NSString> SavedSwipeSettings::getMemUsingAndCPUWithPID(int pid)
{
    return NSStr(MemoryProbe::measure(pid));
}

Ref<NSMutableArray> SavedSwipeSettings::getFolderArray()
{
    return removeAllDisabledAppsFromArray(&runningApplications());
}

Ref<NSArray> SavedSwipeSettings::allRunningApplications()
{
    return runningApplications().copy();
}

void SavedSwipeSettings::writeToFolderArray(const NSString* bundleIdentifier)
{
    if (!bundleIdentifier)
        return;
    auto& running = runningApplications();
    // Kept as its own copy: the caller's string may be a mutable one that changes later.
    if (!running.containsObject(*bundleIdentifier))
        running.addObject(bundleIdentifier->copy());
}

void SavedSwipeSettings::removeFromFolderArray(const NSString* bundleIdentifier)
{
    if (!bundleIdentifier)
        return;
    runningApplications().removeObject(*bundleIdentifier);
}

}
