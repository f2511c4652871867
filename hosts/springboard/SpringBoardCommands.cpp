#include "SpringBoardCommands.h"

#include "ApplicationProcesses.h"

#include "SpringBoardAlerts.h"
#include "SpringBoardDump.h"

#include <springboard/SBApplicationController.h>
#include <springboard/SBAwayController.h>
#include <springboard/SBIcon.h>
#include <springboard/SBIconController.h>
#include <springboard/SBIconView.h>
#include <springboard/SpringBoard.h>

#include <activator/LAActivator.h>
#include <hosts/common/ControlServer.h>
#include <notify/notify.h>
#include <hosts/common/Screenshot.h>
#include <hosts/common/ViewHierarchy.h>
#include <hosts/common/ScreenFrames.h>
#include <hosts/common/TouchCommands.h>
#include <hosts/common/TouchScreen.h>
#include <springboard/SBFolder.h>
#include <springboard/SBFolderIcon.h>
#include <springboard/SBFolderView.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconViewMap.h>

#include <cmath>

namespace springboard::host {

using hosts::Command;
using hosts::ControlError;
using hosts::Json;

// Every handler here runs after the command table has checked the request's shape (arity,
// numbers, choices), so it reads its arguments as the table describes them and refuses only what
// depends on the device's state (an unknown icon, no alert).

namespace {

// Runs a user action, turning the host's refusals into the channel's.
template<typename Action>
Json attempt(Action&& action)
{
    try {
        return action();
    } catch (const SpringBoardError& error) {
        throw ControlError(error.what());
    } catch (const std::runtime_error& error) {
        throw ControlError(error.what());
    }
}

std::string iconName(std::string_view target) { return "the icon '" + std::string(target) + "'"; }

// swipe up|down TARGET [by D] [dx X]: touch-began at the icon's centre, one touch-moved D up or down
// and X across, touch-ended there.
Json swipe(SpringBoard& springBoard, const Command& command)
{
    double distance = 10;
    double dx = 0;
    for (size_t index = 2; index + 1 < command.argumentCount(); index += 2)
        (command.argument(index) == "by" ? distance : dx) = command.number(index + 1);
    return attempt([&] {
        // Held until the answer is made: a swipe that ends the application takes its icon view out
        // of the switcher bar, and the view the touch hit would be gone before it is named.
        runtime::Ref<SBIconView> view(springBoard.iconViewForTarget(command.argument(1)));
        auto up = static_cast<uikit::CGFloat>(command.argument(0) == "up" ? distance : -distance);
        auto centre = hosts::TouchScreen::reachableCentre(view, iconName(command.argument(1)));
        uikit::CGPoint lifted { centre.x + static_cast<uikit::CGFloat>(dx), centre.y - up };
        runtime::RefPtr<uikit::UIView> touched = hosts::TouchScreen::begin(centre);
        hosts::TouchScreen::move(lifted);
        hosts::TouchScreen::end(lifted);
        return hosts::touchAnswer(touched.get());
    });
}

uikit::CGPoint pointAt(const Command& command, size_t index)
{
    return { static_cast<uikit::CGFloat>(command.number(index)), static_cast<uikit::CGFloat>(command.number(index + 1)) };
}

// The touch in progress: its icon view, held from its begin until its end has been answered (for
// the same reason as in swipe), and the last point, in the view's coordinates.
struct TouchInProgress {
    runtime::RefPtr<SBIconView> view;
    uikit::CGPoint point { 0, 0 };
};
TouchInProgress g_touch;

// touch TARGET begin X Y | touch move X Y | touch end, in the icon view's coordinates.
Json touch(SpringBoard& springBoard, const Command& command)
{
    return attempt([&] {
        const std::string& phase = command.argument(0);
        if (phase == "move" || phase == "end") {
            if (!g_touch.view)
                throw ControlError("no touch is in progress");
            if (phase == "move")
                g_touch.point = pointAt(command, 1);
            auto location = g_touch.view->convertPointToView(g_touch.point, nullptr);
            if (phase == "move")
                return hosts::touchAnswer(hosts::TouchScreen::move(location));
            auto held = std::move(g_touch.view);
            return hosts::touchAnswer(hosts::TouchScreen::end(location));
        }
        runtime::Ref<SBIconView> view(springBoard.iconViewForTarget(phase));
        auto point = pointAt(command, 2);
        auto location = view->convertPointToView(point, nullptr);
        // A finger put down on the icon must reach it; one put down beside it lands wherever it does.
        if (graphics::CGRectContainsPoint(view->bounds(), point))
            hosts::TouchScreen::requireReach(view, location, iconName(phase));
        g_touch = { view.ptr(), point };
        return hosts::touchAnswer(hosts::TouchScreen::begin(location));
    });
}

// A finger on the open folder's backdrop, away from its icons, closes it.
void closeFolderByTouch(SpringBoard& springBoard)
{
    auto* iconController = SBIconController::sharedInstance();
    if (!iconController || !iconController->openFolder())
        return;
    auto& backdrop = springBoard.folderView();
    const uikit::CGPoint candidates[] = { { 160, 40 }, { 160, 440 }, { 20, 240 }, { 300, 240 } };
    for (auto point : candidates) {
        if (hosts::TouchScreen::viewAt(point) == &backdrop) {
            hosts::TouchScreen::tap(point);
            springBoard.closeFolder();
            return;
        }
    }
    hosts::TouchScreen::requireReach(backdrop, candidates[0], "the open folder's backdrop");
    throw ControlError("the open folder shows no backdrop to touch");
}

// A finger on the folder's icon opens it.
void openFolderByTouch(SpringBoard& springBoard, const std::string& name)
{
    SBFolder* folder = springBoard.model().folderNamed(name);
    if (!folder || !folder->icon())
        throw ControlError("no folder '" + name + "'");
    std::string what = "the folder '" + name + "'";
    SBIconView* view = nullptr;
    if (springBoard.isSwitcherShowing()) {
        // The home screen lies under the switcher bar's shield: the touch goes to the shield.
        view = springBoard.homescreenMap().iconViewForIcon(folder->icon());
        if (!view)
            throw ControlError(what + " has no view on screen");
    } else {
        closeFolderByTouch(springBoard);
        view = &springBoard.iconViewForTarget(name);
    }
    runtime::Ref<SBIconView> protect(*view);
    hosts::TouchScreen::tapView(*view, what);
    springBoard.openFolderNamed(name);
}

// The listener an `activator assign` gives the event: the one an add-on registered in this
// SpringBoard. The host knows add-ons only through the library, never by their names.
std::string assignableListener()
{
    auto names = activator::LAActivator::sharedInstance().listenerNames();
    if (names.empty())
        throw ControlError("no Activator listener is registered in SpringBoard (is an add-on with a listener loaded?)");
    if (names.size() > 1) {
        std::string list;
        for (auto& name : names)
            list += (list.empty() ? "" : ", ") + name;
        throw ControlError("more than one Activator listener is registered (" + list + "); cannot tell which to assign");
    }
    return names.front();
}

Json activatorCommand(const Command& command)
{
    auto& activator = activator::LAActivator::sharedInstance();
    const std::string& event = command.argument(1);
    if (command.argument(0) == "assign") {
        auto listener = assignableListener();
        if (!activator.assignEvent(event, listener))
            throw ControlError("cannot store the Activator assignment");
        return { { "event", event }, { "listener", listener } };
    }
    auto sent = activator.sendEvent(event);
    return { { "event", event }, { "handled", sent->isHandled() } };
}

Json nothing() { return nullptr; }

}

void registerSpringBoardCommands(hosts::ControlServer& server, SpringBoard& springBoard)
{
    // The host keeps its SpringBoard for as long as it serves the channel.
    auto* board = &springBoard;

    server.serve("launch", [](const Command& command) -> Json {
        double megabytes = command.hasArgument(2) ? command.number(2) : 8;
        return attempt([&] {
            auto& controller = *SBApplicationController::sharedInstance();
            controller.launchApplication(command.argument(0), megabytes);
            auto* application = controller.applicationWithBundleIdentifier(command.argument(0));
            return Json { { "pid", application->pid() }, { "state", application->applicationState() } };
        });
    });
    server.serve("quit", [](const Command& command) -> Json {
        return attempt([&] {
            SBApplicationController::sharedInstance()->quitApplication(command.argument(0));
            return nothing();
        });
    });
    // The system ends an application's process without asking it (memory pressure, a crash): the
    // host reaps it as it reaps any child, and SpringBoard learns of it the same way.
    server.serve("kill", [](const Command& command) -> Json {
        auto* application = SBApplicationController::sharedInstance()->applicationWithBundleIdentifier(command.argument(0));
        if (!application)
            throw ControlError("no application " + command.argument(0));
        if (!application->isRunning() || application->pid() <= 0)
            throw ControlError(command.argument(0) + " is not running");
        if (!ApplicationProcesses::shared().kill(application->pid()))
            throw ControlError("cannot kill " + command.argument(0) + ": its process is not SpringBoard's child");
        return { { "killed", application->pid() } };
    });
    server.serve("swipe", [board](const Command& command) { return swipe(*board, command); });
    server.serve("touch", [board](const Command& command) { return touch(*board, command); });
    server.serve("switcher", [board](const Command& command) -> Json {
        if (command.argument(0) == "show")
            board->showSwitcher();
        else
            board->hideSwitcher();
        return { { "switcher", board->isSwitcherShowing() } };
    });
    server.serve("folder", [board](const Command& command) -> Json {
        return attempt([&] {
            if (command.argument(0) == "close")
                closeFolderByTouch(*board);
            else
                openFolderByTouch(*board, command.argument(1));
            return nothing();
        });
    });
    server.serve("edit", [](const Command& command) -> Json {
        SBIconController::sharedInstance()->setIsEditing(command.argument(0) == "start");
        return nothing();
    });
    server.serve("notify", [](const Command& command) -> Json {
        if (notify::notify_post(command.argument(1).c_str()) != notify::NOTIFY_STATUS_OK)
            throw ControlError("could not post " + command.argument(1));
        return nothing();
    });
    server.serve("lock", [](const Command&) -> Json {
        SBAwayController::sharedInstance()->lock();
        return nothing();
    });
    server.serve("unlock", [](const Command&) -> Json {
        SBAwayController::sharedInstance()->unlock();
        return nothing();
    });
    server.serve("home", [board](const Command&) -> Json {
        board->pressHomeButton();
        return nothing();
    });
    server.serve("badge", [board](const Command& command) -> Json {
        int64_t value = command.integer(1);
        return attempt([&] {
            auto& icon = board->iconForTarget(command.argument(0));
            icon.setBadgeValue(static_cast<int>(std::min<int64_t>(value, 1 << 30)));
            return Json { { "badge", icon.badgeValue() } };
        });
    });
    server.serve("alert", [](const Command& command) -> Json {
        tapAlertButton(command.argument(1));
        return nothing();
    });
    server.serve("activator", [](const Command& command) { return activatorCommand(command); });
    server.serve("popup", [](const Command& command) -> Json {
        killPopupRow(command.argument(1));
        return nothing();
    });
    server.serve("dump", [board](const Command&) -> Json { return { { "dump", dumpSpringBoard(*board) } }; });
    server.serve("screenshot", [board](const Command& command) { return hosts::writeScreenshot(board->renderScreen(), command.argument(0)); });
    // An icon view is heard by its icon's name.
    hosts::AccessibilityLabeller iconNames = [](const uikit::UIView& view) -> std::optional<std::string> {
        auto* iconView = runtime::dynamicCast<SBIconView>(&view);
        if (iconView && iconView->icon())
            return iconView->icon()->displayName();
        return std::nullopt;
    };
    server.serve("hierarchy", [iconNames](const Command&) -> Json { return { { "hierarchy", hosts::viewHierarchyJson(iconNames) } }; });
    hosts::serveTouchCommands(server, iconNames);
    hosts::serveScreenFrames(server);
    server.addIdleCondition([] { return ApplicationProcesses::shared().isSettled(); });
}

}
