// What SpringBoard's driver reads from and does to the quick-killer popup without linking against
// the add-on (see springboard/AddOnInterface.h).

#include "SharedNames.h"
#include "TQTableAlert.h"
#include "TorvaneActivatorSetup.h"

#include <foundation/NSDictionary.h>
#include <foundation/NSMutableArray.h>
#include <springboard/AddOnInterface.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIAlertViewStack.h>
#include <uikit/UITableView.h>

#include <string>

using tweak::TorvaneActivatorSetup;

namespace {

std::string textOf(const foundation::NSDictionary& entry, std::string_view key)
{
    auto value = entry.objectForKey(key);
    return value ? value->description() : std::string("(null)");
}

}

extern "C" __attribute__((visibility("default"))) bool TorvaneQuickKillerPopup(TorvanePopupVisitor visit, void* context)
{
    auto* listener = TorvaneActivatorSetup::showingPopup();
    if (!listener || !visit)
        return false;
    auto& alert = listener->appsTable()->view();
    visit(TorvanePopupTitle, alert.title().value_or("").c_str(), nullptr, nullptr, context);
    if (auto* rows = listener->aliveApps()) {
        for (auto& element : *rows) {
            auto& entry = static_cast<foundation::NSDictionary&>(element.get());
            std::string name = textOf(entry, torvane::CompanionRecord::name), identifier = textOf(entry, torvane::CompanionRecord::bundleIdentifier);
            std::string memory = TorvaneActivatorSetup::memoryLabel(entry);
            visit(TorvanePopupRow, name.c_str(), identifier.c_str(), memory.c_str(), context);
        }
    }
    for (int index = 0; index < alert.numberOfButtons(); ++index)
        visit(TorvanePopupButton, alert.buttonTitleAtIndex(index).value_or("").c_str(), nullptr, nullptr, context);
    return true;
}

extern "C" __attribute__((visibility("default"))) int TorvaneQuickKillerKill(const char* applicationName)
{
    auto* listener = TorvaneActivatorSetup::showingPopup();
    if (!listener)
        return TorvanePopupKillNoPopup;
    auto* rows = listener->aliveApps();
    if (!applicationName || !rows)
        return TorvanePopupKillNoSuchRow;
    for (size_t row = 0; row < rows->count(); ++row) {
        if (textOf(static_cast<foundation::NSDictionary&>(rows->objectAtIndex(row)), torvane::CompanionRecord::name) != applicationName)
            continue;
        auto& tableView = listener->appsTable()->tableView();
        tableView.layoutIfNeeded();
        auto* cell = tableView.cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(static_cast<int>(row), 0));
        if (!cell)
            return TorvanePopupKillRowOutOfView;
        auto* button = cell->viewWithTag(TorvaneActivatorSetup::killButtonTag);
        if (!button)
            return TorvanePopupKillNoSuchRow;
        return uikit::UIAlertViewStack::tapView(*button) ? TorvanePopupKillTapped : TorvanePopupKillButtonBusy;
    }
    return TorvanePopupKillNoSuchRow;
}
