#include "SpringBoardAlerts.h"

#include <sim/control/ScreenState.h>
#include <uikit/UIAlertView.h>

namespace springboard::host {

sim::control::Json visibleAlerts()
{
    return sim::control::visibleAlertsJson();
}

bool tapAlertButton(std::string_view title)
{
    return uikit::UIAlertView::tapButtonWithTitle(title);
}

}
