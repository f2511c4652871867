#include "SettingsDump.h"

#include "SettingsScreen.h"

#include <foundation/NSNumber.h>
#include <hosts/common/ScreenState.h>
#include <preferences/PSTableCell.h>
#include <uikit/UIBarButtonItem.h>
#include <uikit/UILabel.h>
#include <uikit/UINavigationItem.h>
#include <uikit/UIProgressHUD.h>
#include <uikit/UIProgressView.h>
#include <uikit/UISwitch.h>
#include <uikit/UITableViewProtocols.h>

#include <algorithm>

namespace preferences::host {

using sim::protocol::Json;

namespace {

Json optionalText(const std::optional<std::string>& text)
{
    return text ? Json(*text) : Json(nullptr);
}

Json valueOf(uikit::UITableViewCell& cell)
{
    runtime::RefPtr<runtime::Object> value;
    if (auto* row = runtime::dynamicCast<PSTableCell>(&cell))
        value = row->controlValue();
    else if (auto* control = runtime::dynamicCast<uikit::UISwitch>(cell.accessoryView()))
        return control->isOn();
    auto* number = runtime::dynamicCast<foundation::NSNumber>(value.get());
    if (!number)
        return nullptr;
    if (number->isBoolean())
        return number->boolValue();
    if (number->isInteger())
        return number->integerValue();
    return number->doubleValue();
}

Json detailOf(uikit::UITableViewCell& cell)
{
    for (auto& subview : cell.subviews()) {
        if (auto* label = runtime::dynamicCast<uikit::UILabel>(subview.ptr()))
            return label->text();
    }
    if (auto* detail = cell.detailTextLabel(); detail && !detail->text().empty())
        return detail->text();
    return nullptr;
}

double alphaOf(uikit::UITableViewCell& cell)
{
    double alpha = 1;
    for (auto& subview : cell.subviews()) {
        if (!subview->isHidden())
            alpha = std::min<double>(alpha, subview->alpha());
    }
    return alpha;
}

Json rowJson(uikit::UITableViewCell& cell)
{
    auto* row = runtime::dynamicCast<PSTableCell>(&cell);
    auto* specifier = row ? row->specifier() : nullptr;
    bool enabled = row ? row->isCellEnabled() : cell.isUserInteractionEnabled();
    return {
        { "id", specifier && !specifier->identifier().empty() ? Json(specifier->identifier()) : Json(nullptr) },
        { "text", cell.accessibilityLabel() },
        { "value", valueOf(cell) },
        { "enabled", enabled },
        { "detail", detailOf(cell) },
        { "checked", cell.accessoryType() == uikit::UITableViewCellAccessoryCheckmark },
        { "alpha", alphaOf(cell) },
    };
}

std::optional<std::string> sectionTitle(uikit::UITableView& table, int section, bool header)
{
    auto* source = table.dataSource();
    auto* protocol = dynamic_cast<uikit::UITableViewDataSource*>(source);
    if (!protocol)
        return std::nullopt;
    if (header)
        return uikit::respondsToOptional(source, uikit::TableViewDataSource::titleForHeader) ? protocol->tableViewTitleForHeaderInSection(table, section) : std::nullopt;
    return uikit::respondsToOptional(source, uikit::TableViewDataSource::titleForFooter) ? protocol->tableViewTitleForFooterInSection(table, section) : std::nullopt;
}

uikit::UIProgressHUD* findHUD(uikit::UIView& view)
{
    if (view.isHidden())
        return nullptr;
    if (auto* hud = runtime::dynamicCast<uikit::UIProgressHUD>(&view))
        return hud;
    for (auto& subview : view.subviews()) {
        if (auto* hud = findHUD(subview.get()))
            return hud;
    }
    return nullptr;
}

Json hudJson(uikit::UIViewController& screen)
{
    auto* hud = findHUD(screen.view());
    if (!hud)
        return nullptr;
    Json stage = nullptr;
    Json progress = nullptr;
    for (auto& subview : hud->subviews()) {
        if (auto* label = runtime::dynamicCast<uikit::UILabel>(subview.ptr()); label && stage.is_null())
            stage = label->text();
        if (auto* bar = runtime::dynamicCast<uikit::UIProgressView>(subview.ptr()); bar && progress.is_null())
            progress = bar->progress();
    }
    return { { "text", hud->text() }, { "stage", stage }, { "progress", progress } };
}

Json reloadEnabled(const SettingsScreen& screen)
{
    auto* item = screen.reloadButton();
    return item ? Json(item->isEnabled()) : Json(nullptr);
}

}

Json settingsDump(SettingsApplication& application)
{
    Json stack = Json::array();
    for (auto& controller : application.screenStack())
        stack.push_back(controller->className());

    SettingsScreen screen(application);
    Json rows = Json::array();
    Json byName = Json::object();
    Json sections = Json::array();
    for (auto& table : screen.tables()) {
        int sectionCount = table->numberOfSections();
        for (int section = 0; section < sectionCount; ++section) {
            Json sectionRows = Json::array();
            int rowCount = table->numberOfRowsInSection(section);
            for (int index = 0; index < rowCount; ++index) {
                Json entry;
                ScreenRow row { table, uikit::NSIndexPath::indexPathForRow(index, section) };
                SettingsScreen::readCell(row, [&](uikit::UITableViewCell& cell) { entry = rowJson(cell); });
                if (entry.is_null())
                    continue;
                std::string name = entry["id"].is_string() ? entry["id"].get<std::string>() : entry["text"].get<std::string>();
                if (!byName.contains(name))
                    byName[name] = entry;
                sectionRows.push_back(entry);
                rows.push_back(std::move(entry));
            }
            sections.push_back({ { "header", optionalText(sectionTitle(table.get(), section, true)) },
                { "footer", optionalText(sectionTitle(table.get(), section, false)) }, { "rows", std::move(sectionRows) } });
        }
    }
    return {
        { "stack", stack },
        { "rows", rows },
        { "row", byName },
        { "sections", sections },
        { "alerts", hosts::visibleAlertsJson() },
        { "sheets", hosts::visibleSheetsJson() },
        { "hud", hudJson(screen.top()) },
        { "reloadEnabled", reloadEnabled(screen) },
    };
}

}
