// A theme's list.plist with the bytes of the input, read by the theme chooser: its sections,
// rows and titles, and choosing each row, which reads the theme's frame text and image.
#include "FuzzDevice.h"

#include <ChooseCustomImageSetupController.h>

#include <uikit/NSIndexPath.h>
#include <uikit/UIAlertView.h>
#include <uikit/UITableView.h>

#include <algorithm>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& device = fuzzing::FuzzDevice::shared();
    const std::string themes = pane::ChooseCustomImageSetupController::themesRoot;
    device.remove(themes);
    device.place(themes + "/Fuzzed/list.plist", std::span(data, size));

    auto chooser = pane::ChooseCustomImageSetupController::create();
    if (chooser->initForContentSize({ 320, 416 })) {
        for (auto* table : { chooser->imageTable(), chooser->selectionTable() }) {
            int sections = std::min(chooser->numberOfSectionsInTableView(*table), 4);
            for (int section = 0; section < sections; ++section) {
                chooser->tableViewTitleForHeaderInSection(*table, section);
                chooser->tableViewTitleForFooterInSection(*table, section);
                int rows = std::min(chooser->tableViewNumberOfRowsInSection(*table, section), 8);
                for (int row = 0; row < rows; ++row) {
                    auto path = uikit::NSIndexPath::indexPathForRow(row, section);
                    chooser->tableViewCellForRowAtIndexPath(*table, *path);
                    chooser->tableViewDidSelectRowAtIndexPath(*table, *path);
                }
            }
        }
    }
    for (auto& alert : uikit::UIAlertView::visibleAlerts())
        alert->dismissWithClickedButtonIndex(-1, false);
    return 0;
}
