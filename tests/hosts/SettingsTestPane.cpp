// A pane bundle for the Settings host's tests, shaped like the product's: its principal class
// lists Root.plist (switches, one disabled, a slider keyed OpacityValue, many rows so some start
// off screen, and a row opening a setup screen), with a Reload button that disables itself once
// tapped. The setup screen has Cancel and Save buttons without actions of their own.
#include <preferences/PSClassFactory.h>
#include <preferences/PSListController.h>
#include <preferences/PSSetupController.h>
#include <uikit/UIBarButtonItem.h>
#include <uikit/UINavigationItem.h>

namespace {

class DashmereDelegate final : public preferences::PSListController {
    TORVANE_OBJECT(DashmereDelegate, preferences::PSListController)
public:
    static runtime::Ref<DashmereDelegate> create() { return runtime::adoptRef(*new DashmereDelegate); }
    bool initForContentSize(preferences::CGSize size) override
    {
        PSListController::initForContentSize(size);
        setSpecifiers(loadSpecifiersFromPlistName("Root", this));
        navigationItem().setRightBarButtonItem(uikit::UIBarButtonItem::create("Reload", uikit::UIBarButtonItemStyleBordered, nullptr,
            [](uikit::UIBarButtonItem& item) { item.setEnabled(false); }));
        return true;
    }
};
TORVANE_DEFINE_CLASS(DashmereDelegate)
PS_REGISTER_CONTROLLER_CLASS(DashmereDelegate)

class TestThemeScreen final : public preferences::PSListController {
    TORVANE_OBJECT(TestThemeScreen, preferences::PSListController)
public:
    static runtime::Ref<TestThemeScreen> create() { return runtime::adoptRef(*new TestThemeScreen); }
    bool initForContentSize(preferences::CGSize size) override
    {
        PSListController::initForContentSize(size);
        navigationItem().setLeftBarButtonItem(uikit::UIBarButtonItem::create("Cancel", uikit::UIBarButtonItemStyleBordered, nullptr, nullptr));
        navigationItem().setRightBarButtonItem(uikit::UIBarButtonItem::create("Save", uikit::UIBarButtonItemStyleDone, nullptr, nullptr));
        return true;
    }
};
TORVANE_DEFINE_CLASS(TestThemeScreen)
PS_REGISTER_CONTROLLER_CLASS(TestThemeScreen)

class TestThemeSetup final : public preferences::PSSetupController {
    TORVANE_OBJECT(TestThemeSetup, preferences::PSSetupController)
public:
    static runtime::Ref<TestThemeSetup> create() { return runtime::adoptRef(*new TestThemeSetup); }
};
TORVANE_DEFINE_CLASS(TestThemeSetup)
PS_REGISTER_CONTROLLER_CLASS(TestThemeSetup)

}
