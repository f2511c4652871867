// The preferences file as both deliverables read it, with the bytes of the input placed at its
// device path: the add-on's reload and the getters its hooks call, the pane's getObjectWithKey,
// and a merge of one key. Beyond surviving, a merge must keep every other entry of a readable
// file and must leave a file that does not read as a dictionary exactly as it was.
#include "FuzzDevice.h"

#include <DashmereDelegate.h>
#include <PreferencesFile.h>
#include <SavedSwipeSettings.h>
#include <SharedNames.h>

#include <foundation/NSArray.h>
#include <foundation/NSMutableArray.h>
#include <foundation/NSData.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSString.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

using foundation::NSDictionary;
using foundation::NSStr;
using tweak::SavedSwipeSettings;

namespace {

constexpr std::string_view keys[] = { "DashmereOnAppSwitcher", "ConfirmationAlertAtHome", "MoveImageAboveIcon",
    "DisableOnDock", "LowerSensitivity", "ClearBadgeEnabled", "AlertToClearBadge", "DisableTheseApps", "OpacityValue",
    "SelectedTheme", "FirstAlert", "NewFeatureAlert", "ThemeAlertNew" };

[[noreturn]] void fail(const char* what, const std::string& before, const std::string& after)
{
    std::fprintf(stderr, "%s\nbefore:\n%s\nafter:\n%s\n", what, before.c_str(), after.c_str());
    std::abort();
}

std::string fileBytes()
{
    auto data = foundation::NSData::dataWithContentsOfFile(torvane::preferencesPath);
    return data ? std::string(reinterpret_cast<const char*>(data->bytes()), data->length()) : std::string();
}

void checkMerge(const fuzzing::FuzzDevice& device, std::span<const uint8_t> input)
{
    device.place(torvane::preferencesPath, input);
    auto before = torvane::PreferencesFile::read();
    const std::string bytesBefore = fileBytes();

    pane::DashmereDelegate::writeDictToSave(NSDictionary::create({ { "OpacityValue", NSStr("0.50") } }).ptr());

    auto after = torvane::PreferencesFile::read();
    if (!before) {
        if (fileBytes() != bytesBefore)
            fail("a merge rewrote a file that does not read as a dictionary", bytesBefore, fileBytes());
        return;
    }
    auto expected = foundation::NSMutableDictionary::dictionaryWithDictionary(*before);
    expected->setObjectForKey(NSStr("0.50"), "OpacityValue");
    if (!after || after->description() != expected->description())
        fail("a merge lost or changed other entries", expected->description(), after ? after->description() : "(unreadable)");
}

void readAsTheAddOn()
{
    SavedSwipeSettings::discardOutdatedSettingsFile();
    SavedSwipeSettings::loadReloadAllDMRSettings();
    SavedSwipeSettings::getDashmereOnAppSwitcher();
    SavedSwipeSettings::getAlertToClearBadge();
    SavedSwipeSettings::getOpacityFloatValue();
    SavedSwipeSettings::getImageFrameAsString();
    SavedSwipeSettings::getColorPath();
    SavedSwipeSettings::getCurrentThemeName();
    SavedSwipeSettings::isThisAppDisabled(NSStr("com.apple.mobilesafari").ptr());
    SavedSwipeSettings::removeAllDisabledAppsFromArray(foundation::NSArray::create({ NSStr("com.apple.Maps"), NSStr("com.apple.mobilemail") }).ptr());
    SavedSwipeSettings::doesAlertToClearBadgeExist();
    for (auto key : keys)
        SavedSwipeSettings::getObjectWithKey(key, true);
}

void readAsThePane()
{
    for (auto key : keys) {
        if (auto value = pane::DashmereDelegate::getObjectWithKey(key, false))
            value->description();
        pane::DashmereDelegate::getObjectWithKey(key, true);
    }
    pane::DashmereDelegate::removeObjectForMyKey("FirstAlert");
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& device = fuzzing::FuzzDevice::shared();
    std::span<const uint8_t> input(data, size);

    checkMerge(device, input);

    device.place(torvane::preferencesPath, input);
    readAsThePane();
    device.place(torvane::preferencesPath, input);
    readAsTheAddOn();
    device.remove(torvane::preferencesPath);
    return 0;
}
