#include "SettingsCommands.h"

#include <foundation/NSData.h>
#include <sim/protocol/ControlError.h>
#include <hosts/common/ScreenState.h>
#include <uikit/UIActionSheet.h>
#include <uikit/UIAlertView.h>
#include <uikit/ViewRendering.h>

namespace preferences::host {

using sim::protocol::Command;
using sim::protocol::ControlError;
using sim::protocol::Json;

namespace {

Json dump(SettingsApplication& application)
{
    Json stack = Json::array();
    for (auto& controller : application.paneStack())
        stack.push_back(controller->className());
    return {
        { "stack", stack },
        { "rows", Json::array() },
        { "row", Json::object() },
        { "sections", Json::array() },
        { "alerts", hosts::visibleAlertsJson() },
        { "sheets", hosts::visibleSheetsJson() },
        { "hud", nullptr },
        { "reloadEnabled", nullptr },
    };
}

}

void registerSettingsCommands(hosts::ControlServer& server, SettingsApplication& application)
{
    runtime::Ref<SettingsApplication> protectedApplication(application);
    server.on("dump", [protectedApplication](const Command&) -> Json {
        return { { "dump", dump(protectedApplication.get()) } };
    });
    server.on("screenshot", [protectedApplication](const Command& command) -> Json {
        if (command.argumentCount() != 1)
            throw ControlError("usage: screenshot PATH");
        auto png = uikit::renderViewToPNG(protectedApplication->window());
        if (!png || !png->writeToFile(command.argument(0), true))
            throw ControlError("could not write " + command.argument(0));
        return nullptr;
    });
    server.on("settings", [protectedApplication](const Command& command) -> Json {
        if (command.argumentCount() < 1)
            throw ControlError("usage: settings VERB ...");
        const std::string& verb = command.argument(0);
        if (verb == "leave") {
            protectedApplication->resignActive();
            return nullptr;
        }
        if (verb == "alert") {
            if (command.argumentCount() != 2 || !uikit::UIAlertView::tapButtonWithTitle(command.argument(1)))
                throw ControlError("no alert with a button \"" + (command.argumentCount() > 1 ? command.argument(1) : "") + "\"");
            return nullptr;
        }
        if (verb == "sheet") {
            if (command.argumentCount() != 2 || !uikit::UIActionSheet::tapButtonWithTitle(command.argument(1)))
                throw ControlError("no action sheet with a button \"" + (command.argumentCount() > 1 ? command.argument(1) : "") + "\"");
            return nullptr;
        }
        throw ControlError("settings " + verb + ": the Torvane pane is not installed in this Settings application");
    });
}

}
