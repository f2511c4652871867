#include "SettingsCommands.h"

#include <hosts/common/Screenshot.h>
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
    for (auto& controller : application.screenStack())
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
    // Requests reach these handlers only once the command table has checked their shape.
    runtime::Ref<SettingsApplication> protectedApplication(application);
    server.serve("dump", [protectedApplication](const Command&) -> Json {
        return { { "dump", dump(protectedApplication.get()) } };
    });
    server.serve("screenshot", [protectedApplication](const Command& command) -> Json {
        return hosts::writeScreenshot(uikit::renderViewToImage(protectedApplication->window()), command.argument(0));
    });
    server.serve("settings", [protectedApplication](const Command& command) -> Json {
        const std::string& verb = command.argument(0);
        if (verb == "leave") {
            protectedApplication->resignActive();
            return nullptr;
        }
        if (verb == "alert") {
            if (!uikit::UIAlertView::tapButtonWithTitle(command.argument(1)))
                throw ControlError("no alert with a button \"" + command.argument(1) + "\"");
            return nullptr;
        }
        if (verb == "sheet") {
            if (!uikit::UIActionSheet::tapButtonWithTitle(command.argument(1)))
                throw ControlError("no action sheet with a button \"" + command.argument(1) + "\"");
            return nullptr;
        }
        throw ControlError("settings " + verb + ": the Torvane pane is not installed in this Settings application");
    });
}

}
