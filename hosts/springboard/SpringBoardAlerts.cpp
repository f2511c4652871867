#include "SpringBoardAlerts.h"

#include <hosts/common/ScreenState.h>
#include <sim/protocol/ControlError.h>
#include <springboard/AddOnInterface.h>
#include <uikit/UIAlertView.h>

#include <dlfcn.h>

namespace springboard::host {

sim::protocol::Json visibleAlerts()
{
    return hosts::visibleAlertsJson();
}

bool tapAlertButton(std::string_view title)
{
    return uikit::UIAlertView::tapButtonWithTitle(title);
}

void killPopupRow(const std::string& applicationName)
{
    using sim::protocol::ControlError;
    auto kill = reinterpret_cast<TorvaneQuickKillerKillFunction>(::dlsym(RTLD_DEFAULT, TorvaneQuickKillerKillSymbol));
    int result = kill ? kill(applicationName.c_str()) : TorvanePopupKillNoPopup;
    switch (result) {
    case TorvanePopupKillTapped:
        return;
    case TorvanePopupKillNoPopup:
        throw ControlError("no quick-killer popup is shown");
    case TorvanePopupKillNoSuchRow:
        throw ControlError("the quick-killer popup has no row '" + applicationName + "'");
    case TorvanePopupKillRowOutOfView:
        throw ControlError("the row '" + applicationName + "' is out of the popup's view; end rows above it first");
    case TorvanePopupKillButtonBusy:
        throw ControlError("the Kill button of '" + applicationName + "' is still turning red; wait before tapping it");
    default:
        throw ControlError("the add-on gave an unknown answer to tapping '" + applicationName + "'");
    }
}

}
