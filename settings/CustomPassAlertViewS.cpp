#include "CustomPassAlertViewS.h"

#include "PassAlertBackground.h"

#include <uikit/UIButton.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIImageView.h>
#include <uikit/UILabel.h>

namespace pane {

TORVANE_DEFINE_CLASS(CustomPassAlertViewS)

runtime::Ref<CustomPassAlertViewS> CustomPassAlertViewS::create(uikit::CGRect frame)
{
    return runtime::adoptRef(*new CustomPassAlertViewS(frame));
}

runtime::Ref<CustomPassAlertViewS> CustomPassAlertViewS::create(std::optional<std::string> title, std::optional<std::string> message,
    runtime::Object* delegate, std::optional<std::string> cancelButtonTitle, const std::vector<std::string>& otherButtonTitles)
{
    auto alert = create(uikit::CGRectZero);
    alert->initWithTitle(std::move(title), std::move(message), delegate, std::move(cancelButtonTitle), otherButtonTitles);
    return alert;
}

CustomPassAlertViewS::CustomPassAlertViewS(uikit::CGRect frame)
    : UIAlertView(frame)
{
}

CustomPassAlertViewS::~CustomPassAlertViewS() = default;

void CustomPassAlertViewS::layoutSubviews()
{
    passalert::clearStockBackground(*this);
}

void CustomPassAlertViewS::drawRect(uikit::CGRect rect)
{
    passalert::drawPanel(uikit::UIGraphicsGetCurrentContext(), rect);
}

void CustomPassAlertViewS::drawRoundedRect(uikit::CGRect rect, const graphics::CGContext& context, uikit::CGFloat radius) const
{
    passalert::addRoundedRect(context, rect, radius);
}

}
