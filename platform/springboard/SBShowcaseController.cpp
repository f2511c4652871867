#include <springboard/SBShowcaseController.h>

namespace springboard {

void SBShowcaseController::registerMethods(runtime::Class& cls)
{
    cls.addMethod(setHiddenOperation, setHiddenImplementation);
}

TORVANE_DEFINE_CLASS_WITH_METHODS(SBShowcaseController, SBShowcaseController::registerMethods)

namespace {
runtime::RefPtr<SBShowcaseController>& shared()
{
    static runtime::RefPtr<SBShowcaseController> controller;
    return controller;
}
}

runtime::Ref<SBShowcaseController> SBShowcaseController::create()
{
    return runtime::adoptRef(*new SBShowcaseController);
}

SBShowcaseController* SBShowcaseController::sharedInstance() { return shared().get(); }
void SBShowcaseController::setSharedInstance(runtime::RefPtr<SBShowcaseController> controller) { shared() = std::move(controller); }

void SBShowcaseController::setHidden(bool hidden)
{
    setHiddenOperation.send(this, hidden);
}

void SBShowcaseController::setHiddenImplementation(runtime::Object* self, runtime::Selector, bool hidden)
{
    auto* controller = static_cast<SBShowcaseController*>(self);
    controller->m_hidden = hidden;
    if (controller->m_presenter)
        controller->m_presenter(!hidden);
}

}
