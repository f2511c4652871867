#include "ChooseImageSetupController.h"

#include <preferences/PSClassFactory.h>

namespace pane {

TORVANE_DEFINE_CLASS(ChooseImageSetupController)
PS_REGISTER_CONTROLLER_CLASS(ChooseImageSetupController)

runtime::Ref<ChooseImageSetupController> ChooseImageSetupController::create()
{
    return runtime::adoptRef(*new ChooseImageSetupController);
}

ChooseImageSetupController::ChooseImageSetupController() = default;

void ChooseImageSetupController::navigationBarButtonClicked(uikit::UINavigationBar& bar, int)
{
    PSSetupController::navigationBarButtonClicked(bar, 1);
}

}
