#include "SpringBoardAlerts.h"

#if TORVANE_HAVE_ALERT_VIEW
#include <uikit/UIAlertView.h>
#endif

namespace springboard::host {

using sim::control::Json;

Json visibleAlerts()
{
    Json alerts = Json::array();
#if TORVANE_HAVE_ALERT_VIEW
    for (auto& alert : uikit::UIAlertView::visibleAlerts()) {
        Json buttons = Json::array();
        for (int index = 0; index < alert->numberOfButtons(); ++index)
            buttons.push_back(alert->buttonTitleAtIndex(index).value_or(""));
        alerts.push_back({ { "class", alert->className() }, { "title", alert->title() ? Json(*alert->title()) : Json(nullptr) },
            { "message", alert->message() ? Json(*alert->message()) : Json(nullptr) }, { "buttons", buttons } });
    }
#endif
    return alerts;
}

bool tapAlertButton([[maybe_unused]] std::string_view title)
{
#if TORVANE_HAVE_ALERT_VIEW
    return uikit::UIAlertView::tapButtonWithTitle(title);
#else
    return false;
#endif
}

}
