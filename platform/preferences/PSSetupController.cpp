#include <preferences/PSSetupController.h>

#include <foundation/NSLog.h>
#include <preferences/PSClassFactory.h>
#include <preferences/PSListController.h>
#include <preferences/PSViewController.h>

namespace preferences {

TORVANE_DEFINE_CLASS(PSSetupController)

runtime::Ref<PSSetupController> PSSetupController::create()
{
    return runtime::adoptRef(*new PSSetupController);
}

PSSetupController::PSSetupController()
    : uikit::UINavigationController(nullptr)
{
}

void PSSetupController::setupWithSpecifier(PSSpecifier& specifier, uikit::UINavigationController& rootController, PSViewController* parent)
{
    m_specifier = &specifier;
    m_rootController = &rootController;
    auto className = specifier.stringProperty("customControllerClass");
    auto screen = className ? PSClassFactory::makeController(*className) : nullptr;
    if (!screen) {
        foundation::NSLog("setup screen class %@ is not known", className.value_or("(none)"));
        return;
    }
    if (auto* list = runtime::dynamicCast<PSListController>(screen)) {
        if (auto* opener = runtime::dynamicCast<PSListController>(parent))
            list->setBundle(opener->bundle());
    }
    if (!screen->initForContentSize(PSViewController::screenContentSize()))
        return;
    // Screens opened inside the setup controller go on its own stack.
    screen->setRootController(this);
    screen->setParentController(parent);
    screen->setSpecifier(&specifier);
    setViewControllers({ *screen });
}

void PSSetupController::navigationBarButtonClicked(uikit::UINavigationBar&, int)
{
    dismiss(true);
}

void PSSetupController::dismiss(bool animated)
{
    runtime::Ref<PSSetupController> protect(*this);
    if (auto* presenter = presentingViewController())
        presenter->dismissModalViewControllerAnimated(animated);
}

}
