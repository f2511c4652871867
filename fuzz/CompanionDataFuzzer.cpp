// The companion's data file with the bytes of the input at its device path, read the two ways the
// product reads it: the quick killer looking up each running application's entry, and the pane's
// disabled-applications list building its sections, index and rows.
#include "FuzzDevice.h"

#include <NeverShowApplicationsController.h>
#include <SharedNames.h>
#include <TorvaneActivatorSetup.h>

#include <foundation/NSArray.h>
#include <foundation/NSDictionary.h>
#include <foundation/Format.h>
#include <foundation/NSString.h>
#include <uikit/NSIndexPath.h>
#include <uikit/UIAlertView.h>
#include <uikit/UITableView.h>

#include <algorithm>

using foundation::NSDictionary;

namespace {

void lookUpEveryEntry()
{
    auto data = NSDictionary::dictionaryWithContentsOfFile(torvane::companionDataPath);
    auto* records = data ? runtime::dynamicCast<foundation::NSArray>(data->objectForKey(torvane::CompanionRecord::applications).get()) : nullptr;
    size_t count = records ? std::min<size_t>(records->count(), 16) : 0;
    for (size_t i = 0; i < count; ++i) {
        auto* record = runtime::dynamicCast<NSDictionary>(&records->objectAtIndex(i));
        auto identifier = record ? record->objectForKey(torvane::CompanionRecord::bundleIdentifier) : nullptr;
        if (!identifier)
            continue;
        auto text = foundation::NSStr(foundation::format("%@", identifier.get()));
        if (auto entry = tweak::TorvaneActivatorSetup::getAllInfoFromBundleID(*text))
            tweak::TorvaneActivatorSetup::memoryLabel(*entry);
    }
    tweak::TorvaneActivatorSetup::getAllInfoFromBundleID(*foundation::NSStr("com.apple.Maps"));
}

void buildTheDisabledList()
{
    auto list = pane::NeverShowApplicationsController::create();
    if (!list->initForContentSize({ 320, 436 }))
        return;
    list->checkApps();
    auto& table = *list->appTable();
    list->sectionIndexTitlesForTableView(table);
    int sections = std::min(list->numberOfSectionsInTableView(table), 32);
    for (int section = 0; section < sections; ++section) {
        list->tableViewTitleForHeaderInSection(table, section);
        int rows = std::min(list->tableViewNumberOfRowsInSection(table, section), 8);
        for (int row = 0; row < rows; ++row) {
            auto path = uikit::NSIndexPath::indexPathForRow(row, section);
            list->tableViewCellForRowAtIndexPath(table, *path);
        }
    }
    for (auto& alert : uikit::UIAlertView::visibleAlerts())
        alert->dismissWithClickedButtonIndex(-1, false);
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& device = fuzzing::FuzzDevice::shared();
    device.place(torvane::companionDataPath, std::span(data, size));
    lookUpEveryEntry();
    buildTheDisabledList();
    return 0;
}
