#pragma once

// What the Settings host reads from and does to the screen the user sees: its tables in subview
// order, every row of them (scrolled into view to read its cell), and its specifiers.

#include <preferences/PSListController.h>
#include <preferences/SettingsApplication.h>
#include <uikit/NSIndexPath.h>
#include <uikit/UIBarButtonItem.h>
#include <uikit/UITableView.h>
#include <uikit/UITableViewCell.h>

#include <functional>
#include <string_view>
#include <vector>

namespace preferences::host {

struct ScreenRow {
    runtime::Ref<uikit::UITableView> table;
    runtime::Ref<uikit::NSIndexPath> indexPath;
};

class SettingsScreen {
public:
    explicit SettingsScreen(SettingsApplication& application);

    uikit::UIViewController& top() const { return m_top.get(); }
    // The top screen as a preference list, nullptr when it is another kind of screen.
    PSListController* list() const;
    // The modal screen shown over the Settings stack, nullptr when none is.
    uikit::UIViewController* modal() const;
    // The top screen's right bar button when it is titled "Reload", else nullptr.
    uikit::UIBarButtonItem* reloadButton() const;

    // Tables of the top screen in subview order (depth first), not looking inside a table.
    std::vector<runtime::Ref<uikit::UITableView>> tables() const;
    // Every row of every table, in display order.
    std::vector<ScreenRow> rows() const;

    // Scrolls the row into view and answers its cell, then runs `read` and puts the table's scroll
    // offset back. nullptr (and no call) when the table does not give a cell.
    static void readCell(const ScreenRow& row, const std::function<void(uikit::UITableViewCell&)>& read);
    // The row of the top screen whose specifier has this identifier.
    std::optional<ScreenRow> rowForSpecifierID(std::string_view identifier) const;

private:
    SettingsApplication& m_application;
    runtime::Ref<uikit::UIViewController> m_top;
};

}
