#include "SettingsCommands.h"

#include "SettingsDump.h"
#include "SettingsScreen.h"

#include <hosts/common/Screenshot.h>
#include <hosts/common/ViewHierarchy.h>
#include <hosts/common/TableRows.h>
#include <hosts/common/ScreenFrames.h>
#include <hosts/common/TouchCommands.h>
#include <hosts/common/TouchScreen.h>
#include <preferences/PSSetupController.h>
#include <preferences/PSSliderTableCell.h>
#include <preferences/PSSwitchTableCell.h>
#include <sim/protocol/ControlError.h>
#include <uikit/UIActionSheet.h>
#include <uikit/UIAlertView.h>
#include <uikit/UISlider.h>
#include <uikit/UIBarButtonItem.h>
#include <uikit/UIButton.h>
#include <uikit/UINavigationBar.h>
#include <uikit/UINavigationItem.h>
#include <uikit/UISwitch.h>
#include <uikit/UIWindow.h>
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

std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::string rowName(uikit::UITableViewCell& cell, const std::string& fallback)
{
    auto label = cell.accessibilityLabel();
    return quoted(label.empty() ? fallback : label);
}

// The top screen's back button, pressed by a finger.
void tapBack(SettingsApplication& application)
{
    auto& bar = application.rootController().navigationBar();
    bar.layoutIfNeeded();
    if (!bar.showsBackButton() || !bar.leftButton())
        throw ControlError("settings back: the " + application.topScreen().className() + " screen shows no back button");
    auto before = application.screenStack().size();
    hosts::TouchScreen::tapView(*bar.leftButton(), "the back button");
    if (application.screenStack().size() >= before)
        throw ControlError("settings back: the back button did not take the touch");
}

void open(SettingsApplication& application)
{
    if (application.applicationState() != uikit::UIApplicationState::Active)
        application.becomeActive();
    refuseWhileModal(SettingsScreen(application), "open");
    // Back to the Settings list the way a user goes: one back button at a time.
    while (application.rootController().viewControllers().size() > 1)
        tapBack(application);
    auto& list = application.prefsListController();
    PSSpecifier* entry = list.specifierWithProperty("NSPrincipalClass", paneClassName);
    if (!entry)
        throw ControlError("settings open: the Torvane pane is not installed (no preference bundle names " + std::string(paneClassName) + ")");
    auto indexPath = list.indexPathForSpecifier(*entry);
    if (!indexPath)
        throw ControlError("settings open: the \"" + entry->name() + "\" entry is not in the Settings list");
    std::string what = "the row " + quoted(entry->name());
    hosts::TouchScreen::tapView(hosts::scrollRowIntoView(list.table(), *indexPath, what), what);
    if (&application.topScreen() == &list)
        throw ControlError("settings open: the \"" + entry->name() + "\" pane could not be loaded");
}

// The enabled cell of the top screen's row with that specifier identifier, brought into view by a
// finger.
PSTableCell& cellForID(SettingsApplication& application, const std::string& verb, const std::string& identifier)
{
    SettingsScreen screen(application);
    auto row = screen.rowForSpecifierID(identifier);
    if (!row)
        throw ControlError("settings " + verb + ": no row " + identifier + " on the " + screen.top().className() + " screen");
    bool found = false, enabled = false;
    std::string name;
    SettingsScreen::readCell(*row, [&](uikit::UITableViewCell& shown) {
        auto* cell = runtime::dynamicCast<PSTableCell>(&shown);
        found = cell;
        enabled = cell && cell->isCellEnabled() && cell->specifier() && cell->specifier()->isEnabled();
        name = rowName(shown, identifier);
    });
    if (!found)
        throw ControlError("settings " + verb + ": row " + identifier + " has no cell");
    if (!enabled)
        throw ControlError("row " + identifier + " is disabled");
    auto* cell = runtime::dynamicCast<PSTableCell>(&hosts::scrollRowIntoView(row->table.get(), row->indexPath.get(), "the row " + name));
    if (!cell)
        throw ControlError("settings " + verb + ": row " + identifier + " has no cell");
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
    runtime::Ref<PSSwitchTableCell> protect(*row);
    hosts::TouchScreen::tapView(row->control(), "the " + rowName(*row, identifier) + " switch");
    if (row->control().isOn() != on)
        throw ControlError("settings toggle: the switch of row " + identifier + " did not take the touch");
}

void select(SettingsApplication& application, const std::string& identifier)
{
    auto& cell = cellForID(application, "select", identifier);
    hosts::TouchScreen::tapView(cell, "the row " + rowName(cell, identifier));
}

void tapRowWithText(SettingsApplication& application, const std::string& text)
{
    SettingsScreen screen(application);
    for (auto& row : screen.rows()) {
        bool matches = false;
        SettingsScreen::readCell(row, [&](uikit::UITableViewCell& cell) { matches = cell.accessibilityLabel() == text; });
        if (!matches)
            continue;
        std::string what = "the row " + quoted(text);
        hosts::TouchScreen::tapView(hosts::scrollRowIntoView(row.table.get(), row.indexPath.get(), what), what);
        return;
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

// The bar's button a finger presses for `item`: the right one or the left one.
uikit::UIButton& barButton(uikit::UINavigationBar& bar, const uikit::UIBarButtonItem& item, bool right, const std::string& verb)
{
    bar.layoutIfNeeded();
    auto* button = right ? bar.rightButton() : bar.leftButton();
    if (!button || button->isHidden() || button->titleForState(uikit::UIControlStateNormal) != item.title())
        throw ControlError("settings " + verb + ": the \"" + item.title() + "\" button is not shown in the navigation bar");
    return *button;
}

void reload(SettingsApplication& application)
{
    SettingsScreen screen(application);
    auto* item = screen.reloadButton();
    if (!item) {
        // The pane puts its Reload button in the bar a moment after its root list is made.
        if (screen.top().className() == paneClassName)
            throw ControlError("settings reload: no Reload button yet: it is added 0.25 s after the pane's root list is made");
        throw ControlError("settings reload: the " + screen.top().className() + " screen has no Reload button");
    }
    if (!item->isEnabled())
        throw ControlError("settings reload: the Reload button is disabled");
    runtime::Ref<uikit::UIBarButtonItem> protect(*item);
    auto& bar = barOf(screen.top());
    hosts::TouchScreen::tapView(barButton(bar, *item, true, "reload"), "the 'Reload' button");
}

// save taps the modal screen's right button, cancel its left one. A button without an action of
// its own is the setup controller's: its bar tells it which one was clicked (0 right, 1 left).
void modalButton(SettingsApplication& application, bool right)
{
    std::string verb = right ? "save" : "cancel";
    SettingsScreen screen(application);
    if (!screen.modal())
        throw ControlError("settings " + verb + ": no modal screen is shown");
    auto& item = screen.top().navigationItem();
    auto* button = right ? item.rightBarButtonItem() : item.leftBarButtonItem();
    if (!button)
        throw ControlError("settings " + verb + ": the modal screen has no " + (right ? "right" : "left") + " button");
    if (!button->isEnabled())
        throw ControlError("settings " + verb + ": the \"" + button->title() + "\" button is disabled");
    auto& bar = barOf(screen.top());
    runtime::Ref<uikit::UIBarButtonItem> protect(*button);
    runtime::Ref<uikit::UIViewController> modal(*screen.modal());
    bool ownAction = button->hasAction();
    hosts::TouchScreen::tapView(barButton(bar, *button, right, verb), "the " + quoted(button->title()) + " button");
    if (!ownAction) {
        if (auto* setup = runtime::dynamicCast<PSSetupController>(modal.ptr()))
            setup->navigationBarButtonClicked(bar, right ? 0 : 1);
    }
}

// A finger on the slider's track where VALUE lies: the thumb jumps there.
void opacity(SettingsApplication& application, double value)
{
    SettingsScreen screen(application);
    PSSpecifier* slider = screen.list() ? screen.list()->specifierWithProperty("key", "OpacityValue") : nullptr;
    if (!slider || slider->cellType() != PSCellType::Slider) {
        // A screen further down the stack has it: whatever lies on top of it covers it.
        auto stack = application.screenStack();
        for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
            auto* list = runtime::dynamicCast<PSListController>(it->ptr());
            auto* below = list ? list->specifierWithProperty("key", "OpacityValue") : nullptr;
            if (!below || list == screen.list())
                continue;
            auto* hit = hosts::TouchScreen::viewAt({ 160, 240 });
            bool alert = hit && hit->window() && hit->window()->windowLevel() >= uikit::UIWindowLevelAlert;
            throw ControlError("the '" + below->name() + "' slider is covered by " + (alert ? hosts::TouchScreen::describeCover(*hit) : "the " + screen.top().className() + " screen"));
        }
        throw ControlError("settings opacity: the " + screen.top().className() + " screen has no OpacityValue slider");
    }
    std::string identifier = slider->identifier().empty() ? std::string("OpacityValue") : slider->identifier();
    auto indexPath = screen.list()->indexPathForSpecifier(*slider);
    if (!indexPath)
        throw ControlError("settings opacity: the OpacityValue row is not shown");
    ScreenRow row { screen.list()->table(), *indexPath };
    bool isSlider = false, enabled = false;
    std::string name;
    SettingsScreen::readCell(row, [&](uikit::UITableViewCell& shown) {
        auto* cell = runtime::dynamicCast<PSSliderTableCell>(&shown);
        isSlider = cell;
        enabled = cell && cell->isCellEnabled();
        name = rowName(shown, slider->name().empty() ? identifier : slider->name());
    });
    if (!isSlider)
        throw ControlError("settings opacity: the OpacityValue row is not a slider");
    if (!enabled)
        throw ControlError("row " + identifier + " is disabled");
    auto* cell = runtime::dynamicCast<PSSliderTableCell>(&hosts::scrollRowIntoView(row.table.get(), row.indexPath.get(), "the row " + name));
    if (!cell)
        throw ControlError("settings opacity: the OpacityValue row is not a slider");
    runtime::Ref<PSSliderTableCell> protect(*cell);
    auto& control = cell->control();
    if (value < control.minimumValue() || value > control.maximumValue()) {
        char range[96];
        std::snprintf(range, sizeof range, "%g is outside the slider's range %g to %g", value, double(control.minimumValue()), double(control.maximumValue()));
        throw ControlError(std::string("settings opacity: ") + range);
    }
    auto bounds = control.bounds();
    auto travel = bounds.size.width - uikit::UISlider::thumbDiameter;
    double span = double(control.maximumValue()) - double(control.minimumValue());
    double fraction = span > 0 ? (value - double(control.minimumValue())) / span : 0;
    uikit::CGPoint onTrack { static_cast<uikit::CGFloat>(bounds.origin.x + uikit::UISlider::thumbDiameter / 2 + travel * fraction),
        graphics::CGRectGetMidY(bounds) };
    auto point = control.convertPointToView(onTrack, nullptr);
    hosts::TouchScreen::reachableCentre(control, "the " + name + " slider");
    hosts::TouchScreen::requireReach(control, point, "the " + name + " slider");
    hosts::TouchScreen::tap(point);
}

// scroll settings up|down: a finger drawn over most of the top screen's list; down shows what lies
// below.
Json scroll(SettingsApplication& application, bool down)
{
    SettingsScreen screen(application);
    auto tables = screen.tables();
    if (tables.empty())
        throw ControlError("scroll settings: the " + screen.top().className() + " screen shows no list");
    auto& table = tables.front().get();
    auto visible = hosts::TouchScreen::visibleFrame(table);
    if (graphics::CGRectIsEmpty(visible))
        throw ControlError("scroll settings: the list of the " + screen.top().className() + " screen is out of view");
    auto x = graphics::CGRectGetMidX(visible);
    auto low = graphics::CGRectGetMinY(visible) + visible.size.height * 0.85f;
    auto high = graphics::CGRectGetMinY(visible) + visible.size.height * 0.15f;
    uikit::CGPoint from { x, down ? low : high }, to { x, down ? high : low };
    hosts::TouchScreen::requireReach(table, from, "the list of the " + screen.top().className() + " screen");
    auto touched = hosts::TouchScreen::drag(from, to);
    return hosts::dragAnswer(touched.get(), hosts::TouchScreen::dragMoves(hosts::TouchScreen::defaultDragDuration) / hosts::TouchScreen::movesPerSecond);
}

void back(SettingsApplication& application)
{
    refuseWhileModal(SettingsScreen(application), "back");
    if (application.rootController().viewControllers().size() <= 1)
        throw ControlError("settings back: the Settings list is the first screen; there is nothing to go back to");
    tapBack(application);
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
        hosts::TouchScreen::tapAlertButton(command.argument(1));
    } else if (verb == "sheet") {
        hosts::TouchScreen::tapSheetButton(command.argument(1));
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
    server.serve("scroll", [protectedApplication](const Command& command) -> Json {
        return scroll(protectedApplication.get(), command.argument(1) == "down");
    });
    hosts::serveTouchCommands(server);
    hosts::serveScreenFrames(server);
}

}
