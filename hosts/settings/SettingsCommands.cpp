#include "SettingsCommands.h"

#include "SettingsDump.h"
#include "SettingsScreen.h"

#include <hosts/common/Screenshot.h>
#include <hosts/common/ViewHierarchy.h>
#include <preferences/PSSetupController.h>
#include <preferences/PSSliderTableCell.h>
#include <preferences/PSSwitchTableCell.h>
#include <sim/protocol/ControlError.h>
#include <uikit/UIActionSheet.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIAlertViewStack.h>
#include <uikit/UIBarButtonItem.h>
#include <uikit/UIButton.h>
#include <uikit/UINavigationBar.h>
#include <uikit/UINavigationItem.h>
#include <uikit/UISwitch.h>
#include <uikit/ViewRendering.h>

#include <foundation/NSNumber.h>

#include <cstdio>

namespace preferences::host {

using sim::protocol::Command;
using sim::protocol::ControlError;
using sim::protocol::Json;

namespace {

// The pane the driver's `settings` verbs work in is the bundle whose principal class is this one.
constexpr const char* paneClassName = "DashmereDelegate";

void refuseWhileModal(const SettingsScreen& screen, const std::string& verb)
{
    if (screen.modal())
        throw ControlError("settings " + verb + ": a modal screen is shown; use settings save or settings cancel");
}

void open(SettingsApplication& application)
{
    if (application.applicationState() != uikit::UIApplicationState::Active)
        application.becomeActive();
    refuseWhileModal(SettingsScreen(application), "open");
    application.rootController().popToRootViewControllerAnimated(false);
    auto& list = application.prefsListController();
    PSSpecifier* entry = list.specifierWithProperty("NSPrincipalClass", paneClassName);
    if (!entry)
        throw ControlError("settings open: the Torvane pane is not installed (no preference bundle names " + std::string(paneClassName) + ")");
    auto indexPath = list.indexPathForSpecifier(*entry);
    if (!indexPath || !list.table().tapRowAtIndexPath(*indexPath))
        throw ControlError("settings open: the \"" + entry->name() + "\" row could not be tapped");
    if (&application.topScreen() == &list)
        throw ControlError("settings open: the \"" + entry->name() + "\" pane could not be loaded");
}

PSTableCell& cellForID(SettingsApplication& application, const std::string& verb, const std::string& identifier)
{
    SettingsScreen screen(application);
    auto row = screen.rowForSpecifierID(identifier);
    if (!row)
        throw ControlError("settings " + verb + ": no row " + identifier + " on the " + screen.top().className() + " screen");
    PSTableCell* found = nullptr;
    SettingsScreen::readCell(*row, [&](uikit::UITableViewCell& cell) { found = runtime::dynamicCast<PSTableCell>(&cell); });
    // The list keeps its cells, so the cell outlives the scroll back.
    auto* cell = screen.list()->cachedCellForSpecifierID(identifier);
    if (!found || !cell)
        throw ControlError("settings " + verb + ": row " + identifier + " has no cell");
    if (!cell->isCellEnabled() || !cell->specifier()->isEnabled())
        throw ControlError("row " + identifier + " is disabled");
    return *cell;
}

void toggle(SettingsApplication& application, const std::string& identifier, bool on)
{
    auto& cell = cellForID(application, "toggle", identifier);
    auto* row = runtime::dynamicCast<PSSwitchTableCell>(&cell);
    if (!row)
        throw ControlError("settings toggle: row " + identifier + " is not a switch");
    if (row->control().isOn() == on)
        return;
    // A finger on the switch, with the row scrolled into view.
    SettingsScreen screen(application);
    SettingsScreen::readCell(*screen.rowForSpecifierID(identifier), [&](uikit::UITableViewCell&) {
        uikit::UIAlertViewStack::tapView(row->control());
    });
    if (row->control().isOn() != on)
        throw ControlError("settings toggle: the switch of row " + identifier + " did not take the touch");
}

void tapScreenRow(const ScreenRow& row, const std::string& what)
{
    if (!row.table->tapRowAtIndexPath(row.indexPath))
        throw ControlError("settings: row " + what + " could not be tapped");
}

void select(SettingsApplication& application, const std::string& identifier)
{
    cellForID(application, "select", identifier);
    tapScreenRow(*SettingsScreen(application).rowForSpecifierID(identifier), identifier);
}

void tapRowWithText(SettingsApplication& application, const std::string& text)
{
    SettingsScreen screen(application);
    for (auto& row : screen.rows()) {
        bool matches = false;
        SettingsScreen::readCell(row, [&](uikit::UITableViewCell& cell) { matches = cell.accessibilityLabel() == text; });
        if (matches)
            return tapScreenRow(row, "\"" + text + "\"");
    }
    throw ControlError("settings row: no row \"" + text + "\" on the " + screen.top().className() + " screen");
}

uikit::UINavigationBar& barOf(uikit::UIViewController& screen)
{
    auto* navigation = screen.navigationController();
    if (!navigation || navigation->isNavigationBarHidden())
        throw ControlError("settings: the " + screen.className() + " screen shows no navigation bar");
    return navigation->navigationBar();
}

void reload(SettingsApplication& application)
{
    SettingsScreen screen(application);
    auto* item = screen.reloadButton();
    if (!item)
        throw ControlError("settings reload: the " + screen.top().className() + " screen has no Reload button");
    if (!item->isEnabled())
        throw ControlError("settings reload: the Reload button is disabled");
    if (!barOf(screen.top()).tapButtonWithTitle("Reload"))
        throw ControlError("settings reload: the Reload button did not take the touch");
}

// save taps the modal screen's right button, cancel its left one. A button without an action of
// its own is the setup controller's: its bar tells it which one was clicked (0 right, 1 left).
void modalButton(SettingsApplication& application, bool right)
{
    const char* verb = right ? "save" : "cancel";
    SettingsScreen screen(application);
    if (!screen.modal())
        throw ControlError(std::string("settings ") + verb + ": no modal screen is shown");
    auto& item = screen.top().navigationItem();
    auto* button = right ? item.rightBarButtonItem() : item.leftBarButtonItem();
    if (!button)
        throw ControlError(std::string("settings ") + verb + ": the modal screen has no " + (right ? "right" : "left") + " button");
    if (!button->isEnabled())
        throw ControlError(std::string("settings ") + verb + ": the \"" + button->title() + "\" button is disabled");
    auto& bar = barOf(screen.top());
    runtime::Ref<uikit::UIBarButtonItem> protect(*button);
    bool ownAction = button->hasAction();
    if (!bar.tapButtonWithTitle(button->title()))
        throw ControlError(std::string("settings ") + verb + ": the \"" + button->title() + "\" button did not take the touch");
    if (!ownAction) {
        if (auto* setup = runtime::dynamicCast<PSSetupController>(screen.modal()))
            setup->navigationBarButtonClicked(bar, right ? 0 : 1);
    }
}

void opacity(SettingsApplication& application, double value)
{
    SettingsScreen screen(application);
    PSSpecifier* slider = screen.list() ? screen.list()->specifierWithProperty("key", "OpacityValue") : nullptr;
    if (!slider || slider->cellType() != PSCellType::Slider)
        throw ControlError("settings opacity: the " + screen.top().className() + " screen has no OpacityValue slider");
    auto identifier = slider->identifier();
    auto row = screen.list()->indexPathForSpecifier(*slider);
    PSSliderTableCell* cell = nullptr;
    SettingsScreen::readCell({ screen.list()->table(), *row }, [&](uikit::UITableViewCell& shown) {
        cell = runtime::dynamicCast<PSSliderTableCell>(&shown);
    });
    if (!cell)
        throw ControlError("settings opacity: the OpacityValue row is not a slider");
    runtime::Ref<PSSliderTableCell> protect(*cell);
    if (!cell->isCellEnabled())
        throw ControlError("row " + (identifier.empty() ? std::string("OpacityValue") : identifier) + " is disabled");
    auto& control = cell->control();
    if (value < control.minimumValue() || value > control.maximumValue()) {
        char range[96];
        std::snprintf(range, sizeof range, "%g is outside the slider's range %g to %g", value, double(control.minimumValue()), double(control.maximumValue()));
        throw ControlError(std::string("settings opacity: ") + range);
    }
    if (!cell->setControlValueByUser(foundation::NSNumber::numberWithDouble(value)))
        throw ControlError("settings opacity: the slider did not take the value");
}

void back(SettingsApplication& application)
{
    SettingsScreen screen(application);
    refuseWhileModal(screen, "back");
    auto& navigation = application.rootController();
    if (navigation.viewControllers().size() <= 1)
        throw ControlError("settings back: the Settings list is the first screen; there is nothing to go back to");
    auto& bar = navigation.navigationBar();
    bar.layoutIfNeeded();
    if (bar.showsBackButton() && bar.leftButton() && uikit::UIAlertViewStack::tapView(*bar.leftButton()))
        return;
    navigation.popViewControllerAnimated(true);
}

}

Json runSettingsCommand(SettingsApplication& application, const Command& command)
{
    const std::string& verb = command.argument(0);
    if (verb == "leave") {
        application.resignActive();
    } else if (verb == "open") {
        open(application);
    } else if (verb == "toggle") {
        toggle(application, command.argument(1), command.argument(2) == "on");
    } else if (verb == "select") {
        select(application, command.argument(1));
    } else if (verb == "row") {
        tapRowWithText(application, command.argument(1));
    } else if (verb == "reload") {
        reload(application);
    } else if (verb == "save" || verb == "cancel") {
        modalButton(application, verb == "save");
    } else if (verb == "opacity") {
        opacity(application, command.number(1));
    } else if (verb == "back") {
        back(application);
    } else if (verb == "alert") {
        if (!uikit::UIAlertView::tapButtonWithTitle(command.argument(1)))
            throw ControlError("no alert with a button \"" + command.argument(1) + "\"");
    } else if (verb == "sheet") {
        if (!uikit::UIActionSheet::tapButtonWithTitle(command.argument(1)))
            throw ControlError("no action sheet with a button \"" + command.argument(1) + "\"");
    } else {
        throw ControlError("settings " + verb + ": not a settings command");
    }
    return nullptr;
}

void registerSettingsCommands(hosts::ControlServer& server, SettingsApplication& application)
{
    // Requests reach these handlers only once the command table has checked their shape.
    runtime::Ref<SettingsApplication> protectedApplication(application);
    server.serve("dump", [protectedApplication](const Command&) -> Json {
        return { { "dump", settingsDump(protectedApplication.get()) } };
    });
    server.serve("screenshot", [protectedApplication](const Command& command) -> Json {
        return hosts::writeScreenshot(protectedApplication->renderScreen(), command.argument(0));
    });
    server.serve("hierarchy", [](const Command&) -> Json { return { { "hierarchy", hosts::viewHierarchyJson() } }; });
    server.serve("settings", [protectedApplication](const Command& command) -> Json {
        return runSettingsCommand(protectedApplication.get(), command);
    });
}

}
