#pragma once

// The chooser entry's setup controller: it presents the theme chooser modally with a bar of its
// own. Every bar button it hears closes it the same way, as the dismissing button (index 1).

#include <preferences/PSSetupController.h>
#include <runtime/Ref.h>

namespace pane {

class ChooseImageSetupController final : public preferences::PSSetupController {
    TORVANE_OBJECT(ChooseImageSetupController, preferences::PSSetupController)
public:
    static runtime::Ref<ChooseImageSetupController> create();

    void navigationBarButtonClicked(uikit::UINavigationBar& bar, int buttonIndex) override;

private:
    ChooseImageSetupController();
};

}
