#include "TweakTestSupport.h"

#include <SavedSwipeSettings.h>

#include <foundation/NSNumber.h>

using namespace tweak_test;
using foundation::NSArray;
using foundation::NSDictionary;
using foundation::NSNumber;
using foundation::NSStr;
using foundation::NSString;
using tweak::SavedSwipeSettings;

namespace {

// A file with every key the add-on writes, none of them at its default.
runtime::Ref<foundation::NSMutableDictionary> customizedPreferences()
{
    return dictionary({
        { "DashmereOnAppSwitcher", boolean(false) },
        { "ConfirmationAlertAtHome", boolean(false) },
        { "MoveImageAboveIcon", boolean(true) },
        { "DisableOnDock", boolean(true) },
        { "LowerSensitivity", boolean(true) },
        { "ClearBadgeEnabled", boolean(false) },
        { "AlertToClearBadge", boolean(false) },
        { "DisableTheseApps", strings({ "com.apple.mobilesafari", "com.apple.Maps" }) },
        { "OpacityValue", text("0.25") },
        { "SelectedTheme", dictionary({
                               { "Name", text("Icon Label Bars") },
                               { "DisplayName", text("Blue Bar") },
                               { "Frame", text("{{0,60},{59,14}}") },
                               { "ImagePath", text("/Library/Application Support/Torvane/Themes/LabelBars/Blue.png") },
                               { "ImageName", text("Blue.png") },
                           }) },
    });
}

bool boolNumber(const runtime::RefPtr<runtime::Object>& value)
{
    auto* number = runtime::dynamicCast<NSNumber>(value);
    EXPECT_TRUE(number && number->isBoolean()) << (value ? value->description() : "nil");
    return number && number->boolValue();
}

void expectDefaultCache()
{
    EXPECT_TRUE(SavedSwipeSettings::getDashmereOnAppSwitcher());
    EXPECT_TRUE(SavedSwipeSettings::getConfirmationAtHome());
    EXPECT_FALSE(SavedSwipeSettings::getMoveImageAbove());
    EXPECT_FALSE(SavedSwipeSettings::getDisableOnDock());
    EXPECT_FALSE(SavedSwipeSettings::getLowerSensitivity());
    EXPECT_TRUE(SavedSwipeSettings::getClearBadgeEnabled());
    EXPECT_TRUE(SavedSwipeSettings::getAlertToClearBadge());
    ASSERT_TRUE(SavedSwipeSettings::getDisabledArray());
    EXPECT_EQ(SavedSwipeSettings::getDisabledArray()->count(), 0u);
    EXPECT_FLOAT_EQ(SavedSwipeSettings::getOpacityFloatValue(), 1.0f);
    EXPECT_EQ(SavedSwipeSettings::getCurrentThemeName()->string(), "Icon Outlines");
    EXPECT_EQ(SavedSwipeSettings::getImageFrameAsString()->string(), "{{-7.75f,-8.75f},{74.5f,76.0f}}");
    EXPECT_EQ(SavedSwipeSettings::getColorPath()->string(),
        "/Library/Application Support/Torvane/Themes/IconOutlines/GlowRed.png");
}

class SettingsStore : public DeviceTest { };

}

TEST_F(SettingsStore, FirstLoadWithoutFileWritesTheCompleteDefaultFile)
{
    ASSERT_FALSE(fileExists(preferencesPath));
    SavedSwipeSettings::loadReloadAllDMRSettings();

    auto written = readPreferences();
    ASSERT_TRUE(written);
    EXPECT_EQ(keys(*written),
        (std::vector<std::string> { "AlertToClearBadge", "ClearBadgeEnabled", "ConfirmationAlertAtHome", "DashmereOnAppSwitcher",
            "DisableOnDock", "DisableTheseApps", "LowerSensitivity", "MoveImageAboveIcon", "OpacityValue", "SelectedTheme" }));
    EXPECT_TRUE(boolNumber(written->objectForKey("DashmereOnAppSwitcher")));
    EXPECT_TRUE(boolNumber(written->objectForKey("ConfirmationAlertAtHome")));
    EXPECT_FALSE(boolNumber(written->objectForKey("MoveImageAboveIcon")));
    EXPECT_FALSE(boolNumber(written->objectForKey("DisableOnDock")));
    EXPECT_FALSE(boolNumber(written->objectForKey("LowerSensitivity")));
    EXPECT_TRUE(boolNumber(written->objectForKey("ClearBadgeEnabled")));
    EXPECT_TRUE(boolNumber(written->objectForKey("AlertToClearBadge")));
    ASSERT_TRUE(written->arrayForKey("DisableTheseApps"));
    EXPECT_EQ(written->arrayForKey("DisableTheseApps")->count(), 0u);
    ASSERT_TRUE(written->stringForKey("OpacityValue"));
    EXPECT_EQ(written->stringForKey("OpacityValue")->string(), "1.00");

    auto theme = written->dictionaryForKey("SelectedTheme");
    ASSERT_TRUE(theme);
    EXPECT_EQ(keys(*theme), (std::vector<std::string> { "DisplayName", "Frame", "ImageName", "ImagePath", "Name" }));
    EXPECT_EQ(theme->stringForKey("Name")->string(), "Icon Outlines");
    EXPECT_EQ(theme->stringForKey("DisplayName")->string(), "Red Glow");
    EXPECT_EQ(theme->stringForKey("Frame")->string(), "{{-7.75f,-8.75f},{74.5f,76.0f}}");
    EXPECT_EQ(theme->stringForKey("ImagePath")->string(), "/Library/Application Support/Torvane/Themes/IconOutlines/GlowRed.png");
    EXPECT_EQ(theme->stringForKey("ImageName")->string(), "GlowRed.png");

    expectDefaultCache();
}

TEST_F(SettingsStore, LoadFillsEveryCachedValueFromTheFile)
{
    writePreferences(customizedPreferences());
    SavedSwipeSettings::loadReloadAllDMRSettings();

    EXPECT_FALSE(SavedSwipeSettings::getDashmereOnAppSwitcher());
    EXPECT_FALSE(SavedSwipeSettings::getConfirmationAtHome());
    EXPECT_TRUE(SavedSwipeSettings::getMoveImageAbove());
    EXPECT_TRUE(SavedSwipeSettings::getDisableOnDock());
    EXPECT_TRUE(SavedSwipeSettings::getLowerSensitivity());
    EXPECT_FALSE(SavedSwipeSettings::getClearBadgeEnabled());
    EXPECT_FALSE(SavedSwipeSettings::getAlertToClearBadge());
    EXPECT_EQ(texts(*SavedSwipeSettings::getDisabledArray()), (std::vector<std::string> { "com.apple.mobilesafari", "com.apple.Maps" }));
    EXPECT_FLOAT_EQ(SavedSwipeSettings::getOpacityFloatValue(), 0.25f);
    EXPECT_EQ(SavedSwipeSettings::getCurrentThemeName()->string(), "Icon Label Bars");
    EXPECT_EQ(SavedSwipeSettings::getImageFrameAsString()->string(), "{{0,60},{59,14}}");
    EXPECT_EQ(SavedSwipeSettings::getColorPath()->string(), "/Library/Application Support/Torvane/Themes/LabelBars/Blue.png");
    // A complete file is read, never rewritten.
    EXPECT_TRUE(readPreferences()->isEqual(customizedPreferences().ptr()));
}

TEST_F(SettingsStore, ReloadReturnsKeysMissingFromTheNewFileToTheirDefaults)
{
    writePreferences(customizedPreferences());
    SavedSwipeSettings::loadReloadAllDMRSettings();

    // The pane removed everything but the two keys that keep a file current.
    writePreferences(dictionary({
        { "AlertToClearBadge", boolean(false) },
        { "ClearBadgeEnabled", boolean(false) },
        { "SelectedTheme", dictionary({}) },
    }));
    SavedSwipeSettings::loadReloadAllDMRSettings();

    EXPECT_TRUE(SavedSwipeSettings::getDashmereOnAppSwitcher());
    EXPECT_TRUE(SavedSwipeSettings::getConfirmationAtHome());
    EXPECT_FALSE(SavedSwipeSettings::getMoveImageAbove());
    EXPECT_FALSE(SavedSwipeSettings::getDisableOnDock());
    EXPECT_FALSE(SavedSwipeSettings::getLowerSensitivity());
    EXPECT_FALSE(SavedSwipeSettings::getClearBadgeEnabled());
    EXPECT_FALSE(SavedSwipeSettings::getAlertToClearBadge());
    EXPECT_EQ(SavedSwipeSettings::getDisabledArray()->count(), 0u);
    EXPECT_FLOAT_EQ(SavedSwipeSettings::getOpacityFloatValue(), 1.0f);
    EXPECT_EQ(SavedSwipeSettings::getCurrentThemeName()->string(), "Icon Outlines");
    EXPECT_EQ(SavedSwipeSettings::getImageFrameAsString()->string(), "{{-7.75f,-8.75f},{74.5f,76.0f}}");
    // Missing entries take their defaults in memory only.
    EXPECT_EQ(readPreferences()->count(), 3u);
}

TEST_F(SettingsStore, BooleansStoredAsTextOrNumbersReadThroughBoolValue)
{
    writePreferences(dictionary({
        { "DashmereOnAppSwitcher", text("NO") },
        { "ConfirmationAlertAtHome", NSNumber::numberWithInt(0) },
        { "MoveImageAboveIcon", text("YES") },
        { "DisableOnDock", text("1") },
        { "LowerSensitivity", text("yes") },
        { "ClearBadgeEnabled", NSNumber::numberWithInt(7) },
        { "AlertToClearBadge", text("0") },
        { "SelectedTheme", dictionary({}) },
    }));
    SavedSwipeSettings::loadReloadAllDMRSettings();

    EXPECT_FALSE(SavedSwipeSettings::getDashmereOnAppSwitcher());
    EXPECT_FALSE(SavedSwipeSettings::getConfirmationAtHome());
    EXPECT_TRUE(SavedSwipeSettings::getMoveImageAbove());
    EXPECT_TRUE(SavedSwipeSettings::getDisableOnDock());
    EXPECT_TRUE(SavedSwipeSettings::getLowerSensitivity());
    EXPECT_TRUE(SavedSwipeSettings::getClearBadgeEnabled());
    EXPECT_FALSE(SavedSwipeSettings::getAlertToClearBadge());

    EXPECT_TRUE(boolNumber(SavedSwipeSettings::getObjectWithKey("MoveImageAboveIcon", true)));
    EXPECT_TRUE(boolNumber(SavedSwipeSettings::getObjectWithKey("DisableOnDock", true)));
    EXPECT_FALSE(boolNumber(SavedSwipeSettings::getObjectWithKey("DashmereOnAppSwitcher", true)));
    EXPECT_FALSE(boolNumber(SavedSwipeSettings::getObjectWithKey("ConfirmationAlertAtHome", true)));
}

TEST_F(SettingsStore, OpacityReadsTheSameAsNumberOrText)
{
    for (runtime::Ref<runtime::Object> opacity : { runtime::Ref<runtime::Object>(NSNumber::numberWithDouble(0.5)), text("0.5") }) {
        writePreferences(dictionary({ { "OpacityValue", opacity } }));
        SavedSwipeSettings::loadReloadAllDMRSettings();
        EXPECT_FLOAT_EQ(SavedSwipeSettings::getOpacityFloatValue(), 0.5f) << opacity->description();
    }
}

TEST_F(SettingsStore, ValuesOfTheWrongKindFallBackToDefaults)
{
    writePreferences(dictionary({
        { "SelectedTheme", text("Icon Label Bars") },
        { "DisableTheseApps", text("com.apple.mobilesafari") },
        { "LowerSensitivity", strings({ "YES" }) },
    }));
    SavedSwipeSettings::loadReloadAllDMRSettings();
    EXPECT_EQ(SavedSwipeSettings::getCurrentThemeName()->string(), "Icon Outlines");
    EXPECT_EQ(SavedSwipeSettings::getImageFrameAsString()->string(), "{{-7.75f,-8.75f},{74.5f,76.0f}}");
    ASSERT_TRUE(SavedSwipeSettings::getDisabledArray());
    EXPECT_EQ(SavedSwipeSettings::getDisabledArray()->count(), 0u);
    EXPECT_FALSE(SavedSwipeSettings::getLowerSensitivity());
}

TEST_F(SettingsStore, FileLackingOnlyClearBadgeEnabledGainsItAndNothingElse)
{
    auto preferences = customizedPreferences();
    preferences->removeObjectForKey("ClearBadgeEnabled");
    writePreferences(preferences);

    SavedSwipeSettings::discardOutdatedSettingsFile();
    SavedSwipeSettings::loadReloadAllDMRSettings();

    auto written = readPreferences();
    ASSERT_TRUE(written);
    preferences->setObjectForKey(boolean(true), "ClearBadgeEnabled");
    EXPECT_TRUE(written->isEqual(preferences.ptr())) << written->description();
    EXPECT_TRUE(SavedSwipeSettings::getClearBadgeEnabled());
    // The user's other choices survive.
    EXPECT_TRUE(SavedSwipeSettings::getLowerSensitivity());
    EXPECT_EQ(SavedSwipeSettings::getDisabledArray()->count(), 2u);
}

TEST_F(SettingsStore, OutdatedFileIsDeletedAndReplacedByDefaults)
{
    for (const char* missing : { "AlertToClearBadge", "SelectedTheme" }) {
        SCOPED_TRACE(missing);
        auto preferences = customizedPreferences();
        preferences->removeObjectForKey(missing);
        writePreferences(preferences);

        SavedSwipeSettings::discardOutdatedSettingsFile();
        EXPECT_FALSE(fileExists(preferencesPath));

        SavedSwipeSettings::loadReloadAllDMRSettings();
        auto written = readPreferences();
        ASSERT_TRUE(written);
        EXPECT_EQ(written->count(), 10u);
        // The user's choices, disabled applications included, are gone.
        EXPECT_EQ(written->arrayForKey("DisableTheseApps")->count(), 0u);
        expectDefaultCache();
    }
}

TEST_F(SettingsStore, CurrentFileSurvivesTheOutdatedCheck)
{
    // Only the two marker entries are needed; their values do not matter.
    auto preferences = dictionary({ { "AlertToClearBadge", boolean(false) }, { "SelectedTheme", text("anything") } });
    writePreferences(preferences);
    SavedSwipeSettings::discardOutdatedSettingsFile();
    ASSERT_TRUE(readPreferences());
    EXPECT_TRUE(readPreferences()->isEqual(preferences.ptr()));
}

TEST_F(SettingsStore, GetObjectWithKeyDistinguishesAbsentKeyFromMissingFile)
{
    EXPECT_FALSE(SavedSwipeSettings::getObjectWithKey("FirstAlert", true));
    EXPECT_FALSE(SavedSwipeSettings::getObjectWithKey("FirstAlert", false));
    EXPECT_FALSE(fileExists(preferencesPath)) << "reading must not create the file";

    writePreferences(dictionary({ { "FirstAlert", text("Pass") } }));
    auto absentAsBool = SavedSwipeSettings::getObjectWithKey("NewFeatureAlert", true);
    ASSERT_TRUE(absentAsBool);
    EXPECT_FALSE(boolNumber(absentAsBool));
    EXPECT_FALSE(SavedSwipeSettings::getObjectWithKey("NewFeatureAlert", false));

    auto entry = SavedSwipeSettings::getObjectWithKey("FirstAlert", false);
    ASSERT_TRUE(runtime::dynamicCast<NSString>(entry));
    EXPECT_EQ(entry->description(), "Pass");
    // "Pass" does not read as true.
    EXPECT_FALSE(boolNumber(SavedSwipeSettings::getObjectWithKey("FirstAlert", true)));

    EXPECT_FALSE(SavedSwipeSettings::getObjectWithKey(static_cast<const NSString*>(nullptr), true));
}

TEST_F(SettingsStore, WriteDictToSaveMergesIntoTheFile)
{
    SavedSwipeSettings::writeDictToSave(dictionary({ { "FirstAlert", text("Pass") } }).ptr());
    ASSERT_TRUE(readPreferences());
    EXPECT_EQ(keys(*readPreferences()), std::vector<std::string> { "FirstAlert" });

    SavedSwipeSettings::writeDictToSave(dictionary({ { "ConfirmationAlertAtHome", boolean(false) }, { "FirstAlert", text("Again") } }).ptr());
    auto merged = readPreferences();
    EXPECT_TRUE(merged->isEqual(dictionary({ { "ConfirmationAlertAtHome", boolean(false) }, { "FirstAlert", text("Again") } }).ptr()));

    SavedSwipeSettings::writeDictToSave(nullptr);
    EXPECT_TRUE(readPreferences()->isEqual(merged.get()));
}

TEST_F(SettingsStore, RemoveObjectForMyKeyRemovesOnlyThatKey)
{
    SavedSwipeSettings::removeObjectForMyKey("FirstAlert");
    EXPECT_FALSE(fileExists(preferencesPath)) << "removing from no file creates none";

    writePreferences(dictionary({ { "FirstAlert", text("Pass") }, { "NewFeatureAlert", text("Pass") } }));
    SavedSwipeSettings::removeObjectForMyKey("FirstAlert");
    EXPECT_EQ(keys(*readPreferences()), std::vector<std::string> { "NewFeatureAlert" });

    SavedSwipeSettings::removeObjectForMyKey(static_cast<const NSString*>(nullptr));
    EXPECT_EQ(keys(*readPreferences()), std::vector<std::string> { "NewFeatureAlert" });
}

TEST_F(SettingsStore, UnreadableFileIsNeverOverwrittenAndCountsAsOutdated)
{
    // Garbage, and a property list whose root is not a dictionary: neither can be read as settings.
    foundation::NSArray::Storage arrayRoot;
    arrayRoot.push_back(NSStr("AlertToClearBadge"));
    auto arrayFile = foundation::NSArray::create(std::move(arrayRoot));
    for (int variant = 0; variant < 2; ++variant) {
        SCOPED_TRACE(variant == 0 ? "garbage" : "array root");
        if (variant == 0)
            writeRawFile(preferencesPath, "this is not a property list, just some text");
        else
            ASSERT_TRUE(arrayFile->writeToFile(preferencesPath, true));
        const std::string original = readRawFile(preferencesPath);

        // Reads as a file without entries.
        auto asBool = SavedSwipeSettings::getObjectWithKey("AlertToClearBadge", true);
        ASSERT_TRUE(asBool);
        EXPECT_FALSE(boolNumber(asBool));
        EXPECT_FALSE(SavedSwipeSettings::getObjectWithKey("AlertToClearBadge", false));
        EXPECT_FALSE(SavedSwipeSettings::doesAlertToClearBadgeExist());

        // Merging and removing leave it exactly as it is.
        SavedSwipeSettings::writeDictToSave(dictionary({ { "FirstAlert", text("Pass") } }).ptr());
        EXPECT_EQ(readRawFile(preferencesPath), original);
        SavedSwipeSettings::removeObjectForMyKey("AlertToClearBadge");
        EXPECT_EQ(readRawFile(preferencesPath), original);

        // A load keeps every default (and its ClearBadgeEnabled merge does nothing either).
        writePreferences(customizedPreferences());
        SavedSwipeSettings::loadReloadAllDMRSettings();
        if (variant == 0)
            writeRawFile(preferencesPath, original);
        else
            ASSERT_TRUE(arrayFile->writeToFile(preferencesPath, true));
        SavedSwipeSettings::loadReloadAllDMRSettings();
        expectDefaultCache();
        EXPECT_EQ(readRawFile(preferencesPath), original);

        // Start-up treats it as outdated.
        SavedSwipeSettings::discardOutdatedSettingsFile();
        EXPECT_FALSE(fileExists(preferencesPath));
    }
}

TEST_F(SettingsStore, FailedWriteStillUpdatesTheCache)
{
    writePreferences(customizedPreferences());
    SavedSwipeSettings::loadReloadAllDMRSettings();
    // The preferences folder is gone, a plain file in its place: the default file cannot be written.
    std::filesystem::remove_all(hostPath("/var/mobile/Library/Preferences"));
    writeRawFile("/var/mobile/Library/Preferences", "a file where the folder should be");
    SavedSwipeSettings::loadReloadAllDMRSettings();
    expectDefaultCache();
}
