#include "ScreenState.h"

#include <uikit/UIActionSheet.h>
#include <uikit/UIAlertView.h>

namespace hosts {

namespace {

Json optionalText(const std::optional<std::string>& text)
{
    return text ? Json(*text) : Json(nullptr);
}

template<typename View>
Json buttonTitles(const View& view)
{
    Json buttons = Json::array();
    for (int index = 0; index < view.numberOfButtons(); ++index)
        buttons.push_back(view.buttonTitleAtIndex(index).value_or(""));
    return buttons;
}

}

Json visibleAlertsJson()
{
    Json alerts = Json::array();
    for (auto& alert : uikit::UIAlertView::visibleAlerts()) {
        alerts.push_back({ { "class", alert->className() }, { "title", optionalText(alert->title()) },
            { "message", optionalText(alert->message()) }, { "buttons", buttonTitles(alert.get()) } });
    }
    return alerts;
}

Json visibleSheetsJson()
{
    Json sheets = Json::array();
    for (auto& sheet : uikit::UIActionSheet::visibleSheets())
        sheets.push_back({ { "title", optionalText(sheet->title()) }, { "buttons", buttonTitles(sheet.get()) } });
    return sheets;
}

}
