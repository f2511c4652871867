#include "SpringBoardAlerts.h"

#include <hosts/common/ScreenState.h>
#include <hosts/common/TableRows.h>
#include <hosts/common/TouchScreen.h>
#include <sim/protocol/ControlError.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIButton.h>
#include <uikit/UITableView.h>
#include <uikit/UITableViewProtocols.h>

#include <functional>

#include <optional>

namespace springboard::host {

using sim::protocol::ControlError;
using sim::protocol::Json;

namespace {

struct Popup {
    runtime::Ref<uikit::UIAlertView> alert;
    runtime::Ref<uikit::UITableView> table;
};

uikit::UITableView* tableInside(uikit::UIView& view)
{
    for (auto& subview : view.subviews()) {
        if (auto* table = runtime::dynamicCast<uikit::UITableView>(subview.ptr()))
            return table;
        if (auto* table = tableInside(subview.get()))
            return table;
    }
    return nullptr;
}

// The topmost alert that holds a list.
std::optional<Popup> findPopup()
{
    auto alerts = uikit::UIAlertView::visibleAlerts();
    for (auto it = alerts.rbegin(); it != alerts.rend(); ++it) {
        if (auto* table = tableInside(it->get()))
            return Popup { *it, *table };
    }
    return std::nullopt;
}

struct PopupRow {
    std::string name;
    std::string identifier;
    std::string memory;
};

// A row's cell as an accessibility reader gets it: the one on screen, or for a row scrolled out of
// view one the list's data source makes for it. Nothing scrolls: scrolling would make the rows'
// cells again, and their Kill buttons would have to turn red anew.
void readRow(uikit::UITableView& table, uikit::NSIndexPath& indexPath, const std::function<void(uikit::UITableViewCell&)>& read)
{
    table.layoutIfNeeded();
    if (runtime::RefPtr<uikit::UITableViewCell> shown = table.cellForRowAtIndexPath(indexPath))
        return read(*shown);
    auto* source = dynamic_cast<uikit::UITableViewDataSource*>(table.dataSource());
    if (!source)
        return;
    if (auto made = source->tableViewCellForRowAtIndexPath(table, indexPath))
        read(*made);
}

std::vector<PopupRow> rowsOf(uikit::UITableView& table)
{
    std::vector<PopupRow> rows;
    int sections = table.numberOfSections();
    for (int section = 0; section < sections; ++section) {
        int count = table.numberOfRowsInSection(section);
        for (int row = 0; row < count; ++row) {
            PopupRow entry;
            auto indexPath = uikit::NSIndexPath::indexPathForRow(row, section);
            readRow(table, indexPath.get(), [&](uikit::UITableViewCell& cell) {
                entry = { cell.accessibilityLabel(), cell.accessibilityIdentifier(), cell.accessibilityValue() };
            });
            rows.push_back(std::move(entry));
        }
    }
    return rows;
}

uikit::UIControl* controlInside(uikit::UIView& view)
{
    for (auto& subview : view.subviews()) {
        if (auto* control = runtime::dynamicCast<uikit::UIControl>(subview.ptr()); control && !control->isHidden())
            return control;
        if (auto* control = controlInside(subview.get()))
            return control;
    }
    return nullptr;
}

}

Json visibleAlerts()
{
    return hosts::visibleAlertsJson();
}

Json quickKillerPopup()
{
    auto popup = findPopup();
    if (!popup)
        return nullptr;
    auto& alert = popup->alert.get();
    Json rows = Json::array();
    for (auto& row : rowsOf(popup->table.get()))
        rows.push_back({ { "name", row.name }, { "id", row.identifier }, { "memory", row.memory } });
    Json buttons = Json::array();
    for (int index = 0; index < alert.numberOfButtons(); ++index)
        buttons.push_back(alert.buttonTitleAtIndex(index).value_or(""));
    return { { "title", alert.title() ? Json(*alert.title()) : Json(nullptr) }, { "rows", rows }, { "buttons", buttons } };
}

void tapAlertButton(const std::string& title)
{
    hosts::TouchScreen::tapAlertButton(title);
}

void killPopupRow(const std::string& applicationName)
{
    auto popup = findPopup();
    if (!popup)
        throw ControlError("no quick-killer popup is shown");
    auto rows = rowsOf(popup->table.get());
    for (size_t index = 0; index < rows.size(); ++index) {
        if (rows[index].name != applicationName)
            continue;
        std::string row = "the row '" + applicationName + "' of the popup";
        auto& cell = hosts::scrollRowIntoView(popup->table.get(), uikit::NSIndexPath::indexPathForRow(static_cast<int>(index), 0), row);
        runtime::Ref<uikit::UITableViewCell> protect(cell);
        auto* button = controlInside(cell);
        if (!button)
            throw ControlError(row + " has no Kill button");
        // The button turns red as its row is made, and takes touches once it has.
        if (!button->isUserInteractionEnabled())
            throw ControlError("the Kill button of '" + applicationName + "' takes no touches yet: it does once it has turned red, 0.25 s after its row is shown");
        hosts::TouchScreen::tapView(*button, "the Kill button of '" + applicationName + "'");
        return;
    }
    throw ControlError("the quick-killer popup has no row '" + applicationName + "'");
}

}
