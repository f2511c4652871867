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
#include <graphics/Image.h>
#include <sim/protocol/ControlError.h>
#include <hosts/common/ControlServer.h>

#include <cmath>

namespace springboard::host {

using sim::protocol::Command;
using sim::protocol::ControlError;
using sim::protocol::Json;

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

void requireArguments(const Command& command, size_t count, const char* usage)
{
    if (command.argumentCount() != count)
        throw ControlError(std::string("usage: ") + usage);
}

Json swipe(SpringBoard& springBoard, const Command& command)
{
    // swipe up|down TARGET [by D] [dx X]
    if (command.argumentCount() < 2)
        throw ControlError("usage: swipe up|down TARGET [by D] [dx X]");
    const std::string& direction = command.argument(0);
    if (direction != "up" && direction != "down")
        throw ControlError("swipe goes up or down, not '" + direction + "'");
    double distance = 10;
    double dx = 0;
    for (size_t index = 2; index < command.argumentCount(); index += 2) {
        const std::string& option = command.argument(index);
        if (option == "by")
            distance = command.number(index + 1);
        else if (option == "dx")
            dx = command.number(index + 1);
        else
            throw ControlError("unknown swipe option '" + option + "'");
    }
    return attempt([&] {
        auto& view = springBoard.iconViewForTarget(command.argument(1));
        auto up = static_cast<uikit::CGFloat>(direction == "up" ? distance : -distance);
        return touched(springBoard.swipe(view, up, static_cast<uikit::CGFloat>(dx)));
    });
}

uikit::CGPoint pointAt(const Command& command, size_t index)
{
    return { static_cast<uikit::CGFloat>(command.number(index)), static_cast<uikit::CGFloat>(command.number(index + 1)) };
}

Json touch(SpringBoard& springBoard, const Command& command)
{
    // touch TARGET begin X Y | touch move X Y | touch end
    return attempt([&] {
        if (command.argumentCount() == 4 && command.argument(1) == "begin") {
            auto& view = springBoard.iconViewForTarget(command.argument(0));
            return touched(springBoard.touchBegin(view, pointAt(command, 2)));
        }
        if (command.argumentCount() == 3 && command.argument(0) == "move")
            return touched(springBoard.touchMove(pointAt(command, 1)));
        if (command.argumentCount() == 1 && command.argument(0) == "end")
            return touched(springBoard.touchEnd());
        throw ControlError("usage: touch TARGET begin X Y | touch move X Y | touch end");
    });
}

Json activatorCommand(const Command& command)
{
    requireArguments(command, 2, "activator assign EVENT | activator send EVENT");
    auto& activator = activator::LAActivator::sharedInstance();
    const std::string& event = command.argument(1);
    if (command.argument(0) == "assign") {
        // The quick killer is the listener users assign in this system.
        static constexpr const char* quickKiller = "com.qelvo.torvane.activator.openapps";
        if (!activator.assignEvent(event, quickKiller))
            throw ControlError("cannot store the Activator assignment");
        return { { "event", event }, { "listener", quickKiller } };
    }
    if (command.argument(0) == "send") {
        auto sent = activator.sendEvent(event);
        return { { "event", event }, { "handled", sent->isHandled() } };
    }
    throw ControlError("usage: activator assign EVENT | activator send EVENT");
}

}

void registerSpringBoardCommands(hosts::ControlServer& server, SpringBoard& springBoard)
{
    // The host keeps its SpringBoard for as long as it serves the channel.
    auto* board = &springBoard;

    server.on("launch", [](const Command& command) -> Json {
        if (command.argumentCount() != 1 && command.argumentCount() != 3)
            throw ControlError("usage: launch BID [mb M]");
        double megabytes = 8;
        if (command.argumentCount() == 3) {
            if (command.argument(1) != "mb")
                throw ControlError("usage: launch BID [mb M]");
            megabytes = command.number(2);
            if (megabytes < 0 || megabytes > 4096 || !std::isfinite(megabytes))
                throw ControlError("mb must be a number from 0 to 4096");
        }
        return attempt([&] {
            auto& controller = *SBApplicationController::sharedInstance();
            controller.launchApplication(command.argument(0), megabytes);
            auto* application = controller.applicationWithBundleIdentifier(command.argument(0));
            return Json { { "pid", application->pid() }, { "state", application->applicationState() } };
        });
    });
    server.on("quit", [](const Command& command) -> Json {
        requireArguments(command, 1, "quit BID");
        return attempt([&] {
            SBApplicationController::sharedInstance()->quitApplication(command.argument(0));
            return Json(nullptr);
        });
    });
    server.on("swipe", [board](const Command& command) { return swipe(*board, command); });
    server.on("touch", [board](const Command& command) { return touch(*board, command); });
    server.on("switcher", [board](const Command& command) -> Json {
        requireArguments(command, 1, "switcher show|hide");
        if (command.argument(0) == "show")
            board->showSwitcher();
        else if (command.argument(0) == "hide")
            board->hideSwitcher();
        else
            throw ControlError("usage: switcher show|hide");
        return { { "switcher", board->isSwitcherShowing() } };
    });
    server.on("folder", [board](const Command& command) -> Json {
        if (command.argumentCount() == 2 && command.argument(0) == "open")
            return attempt([&] {
                board->openFolderNamed(command.argument(1));
                return Json(nullptr);
            });
        if (command.argumentCount() == 1 && command.argument(0) == "close") {
            board->closeFolder();
            return nullptr;
        }
        throw ControlError("usage: folder open \"Name\" | folder close");
    });
    server.on("edit", [](const Command& command) -> Json {
        requireArguments(command, 1, "edit start|stop");
        if (command.argument(0) != "start" && command.argument(0) != "stop")
            throw ControlError("usage: edit start|stop");
        SBIconController::sharedInstance()->setIsEditing(command.argument(0) == "start");
        return nullptr;
    });
    server.on("lock", [](const Command& command) -> Json {
        requireArguments(command, 0, "lock");
        SBAwayController::sharedInstance()->lock();
        return nullptr;
    });
    server.on("unlock", [](const Command& command) -> Json {
        requireArguments(command, 0, "unlock");
        SBAwayController::sharedInstance()->unlock();
        return nullptr;
    });
    server.on("home", [board](const Command& command) -> Json {
        requireArguments(command, 0, "home");
        board->pressHomeButton();
        return nullptr;
    });
    server.on("badge", [board](const Command& command) -> Json {
        requireArguments(command, 2, "badge BID N");
        int64_t value = command.integer(1);
        if (value < 0)
            throw ControlError("badge must be a number from 0");
        return attempt([&] {
            auto& icon = board->iconForTarget(command.argument(0));
            icon.setBadgeValue(static_cast<int>(std::min<int64_t>(value, 1 << 30)));
            return Json { { "badge", icon.badgeValue() } };
        });
    });
    server.on("alert", [](const Command& command) -> Json {
        if (command.argumentCount() != 2 || command.argument(0) != "tap")
            throw ControlError("usage: alert tap \"Button\"");
        if (!tapAlertButton(command.argument(1)))
            throw ControlError("no alert shows a button '" + command.argument(1) + "'");
        return nullptr;
    });
    server.on("activator", [](const Command& command) { return activatorCommand(command); });
    server.on("popup", [](const Command&) -> Json { throw ControlError("the quick-killer popup is not available yet"); });
    server.on("dump", [board](const Command&) -> Json { return { { "dump", dumpSpringBoard(*board) } }; });
    server.on("screenshot", [board](const Command& command) -> Json {
        requireArguments(command, 1, "screenshot PATH");
        auto image = board->renderScreen();
        if (!graphics::CGImageWritePNGFile(image, command.argument(0)))
            throw ControlError("cannot write " + command.argument(0));
        return { { "path", command.argument(0) }, { "width", image.width() }, { "height", image.height() } };
    });
    server.addIdleCondition([] { return ApplicationProcesses::shared().isSettled(); });
}

}
