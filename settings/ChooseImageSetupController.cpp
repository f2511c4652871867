#include "ChooseImageSetupController.h"

TORVANE_DEFINE_CLASS(ChooseImageSetupController)

runtime::Ref<ChooseImageSetupController> ChooseImageSetupController::create()
{
    return runtime::adoptRef(*new ChooseImageSetupController);
}

ChooseImageSetupController::ChooseImageSetupController() = default;

void ChooseImageSetupController::navigationBarButtonClicked(uikit::UINavigationBar& bar, int)
{
    PSSetupController::navigationBarButtonClicked(bar, 1);
}
