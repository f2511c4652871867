#include "SpringBoardAlerts.h"

#include <hosts/common/ScreenState.h>
#include <uikit/UIAlertView.h>

namespace springboard::host {

sim::protocol::Json visibleAlerts()
{
    return hosts::visibleAlertsJson();
}

bool tapAlertButton(std::string_view title)
{
    return uikit::UIAlertView::tapButtonWithTitle(title);
}

}
