#include "SpringBoardCommands.h"

#include "SpringBoardAlerts.h"
#include "SpringBoardDump.h"

#include <springboard/ApplicationProcesses.h>
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

Json touched(const uikit::UIView* view)
{
    return { { "touched", view ? Json(view->className()) : Json(nullptr) } };
}

// swipe up|down TARGET [by D] [dx X]
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
        return touched(springBoard.swipe(view, up, static_cast<uikit::CGFloat>(dx)));
    });
}

uikit::CGPoint pointAt(const Command& command, size_t index)
{
    return { static_cast<uikit::CGFloat>(command.number(index)), static_cast<uikit::CGFloat>(command.number(index + 1)) };
}

// The icon view of the touch in progress, held from its begin until its end has been answered, for
// the same reason as in swipe.
runtime::RefPtr<SBIconView> g_touchedIconView;

// touch TARGET begin X Y | touch move X Y | touch end
Json touch(SpringBoard& springBoard, const Command& command)
{
    return attempt([&] {
        if (command.argument(0) == "move")
            return touched(springBoard.touchMove(pointAt(command, 1)));
        if (command.argument(0) == "end") {
            auto held = std::move(g_touchedIconView);
            return touched(springBoard.touchEnd());
        }
        auto& view = springBoard.iconViewForTarget(command.argument(0));
        g_touchedIconView = &view;
        return touched(springBoard.touchBegin(view, pointAt(command, 2)));
    });
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
        if (command.argument(0) == "close") {
            board->closeFolder();
            return nothing();
        }
        return attempt([&] {
            board->openFolderNamed(command.argument(1));
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
        if (!tapAlertButton(command.argument(1)))
            throw ControlError("no alert shows a button '" + command.argument(1) + "'");
        return nothing();
    });
    server.serve("activator", [](const Command& command) { return activatorCommand(command); });
    server.serve("popup", [](const Command& command) -> Json {
        killPopupRow(command.argument(1));
        return nothing();
    });
    server.serve("dump", [board](const Command&) -> Json { return { { "dump", dumpSpringBoard(*board) } }; });
    server.serve("screenshot", [board](const Command& command) { return hosts::writeScreenshot(board->renderScreen(), command.argument(0)); });
    server.serve("hierarchy", [](const Command&) -> Json {
        // An icon view is heard by its icon's name.
        return { { "hierarchy", hosts::viewHierarchyJson([](const uikit::UIView& view) -> std::optional<std::string> {
                      auto* iconView = runtime::dynamicCast<SBIconView>(&view);
                      if (iconView && iconView->icon())
                          return iconView->icon()->displayName();
                      return std::nullopt;
                  }) } };
    });
    server.addIdleCondition([] { return ApplicationProcesses::shared().isSettled(); });
}

}
