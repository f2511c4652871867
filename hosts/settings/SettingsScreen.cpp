#include "SettingsScreen.h"

#include <hosts/common/TableRows.h>
#include <uikit/UINavigationItem.h>
#include <uikit/UIView.h>

namespace preferences::host {

namespace {

void collectTables(uikit::UIView& view, std::vector<runtime::Ref<uikit::UITableView>>& tables)
{
    if (view.isHidden())
        return;
    if (auto* table = runtime::dynamicCast<uikit::UITableView>(&view)) {
        tables.push_back(*table);
        return;
    }
    for (auto& subview : view.subviews())
        collectTables(subview.get(), tables);
}

}

SettingsScreen::SettingsScreen(SettingsApplication& application)
    : m_application(application)
    , m_top(application.topScreen())
{
}

PSListController* SettingsScreen::list() const
{
    return runtime::dynamicCast<PSListController>(m_top.ptr());
}

uikit::UIViewController* SettingsScreen::modal() const
{
    return m_application.rootController().modalViewController();
}

uikit::UIBarButtonItem* SettingsScreen::reloadButton() const
{
    auto* item = m_top->navigationItem().rightBarButtonItem();
    return item && item->title() == "Reload" ? item : nullptr;
}

std::vector<runtime::Ref<uikit::UITableView>> SettingsScreen::tables() const
{
    std::vector<runtime::Ref<uikit::UITableView>> tables;
    collectTables(m_top->view(), tables);
    return tables;
}

std::vector<ScreenRow> SettingsScreen::rows() const
{
    std::vector<ScreenRow> rows;
    for (auto& table : tables()) {
        int sections = table->numberOfSections();
        for (int section = 0; section < sections; ++section) {
            int count = table->numberOfRowsInSection(section);
            for (int row = 0; row < count; ++row)
                rows.push_back({ table, uikit::NSIndexPath::indexPathForRow(row, section) });
        }
    }
    return rows;
}

void SettingsScreen::readCell(const ScreenRow& row, const std::function<void(uikit::UITableViewCell&)>& read)
{
    hosts::readTableCell(row.table.get(), row.indexPath.get(), read);
}

std::optional<ScreenRow> SettingsScreen::rowForSpecifierID(std::string_view identifier) const
{
    auto* screen = list();
    auto* specifier = screen ? screen->specifierForID(identifier) : nullptr;
    auto indexPath = specifier ? screen->indexPathForSpecifier(*specifier) : nullptr;
    if (!indexPath)
        return std::nullopt;
    return ScreenRow { screen->table(), *indexPath };
}

}
