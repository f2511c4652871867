#include <springboard/SBAwayController.h>

namespace springboard {

void SBAwayController::registerMethods(runtime::Class& cls)
{
    cls.addMethod(lockOperation, lockImplementation);
}

TORVANE_DEFINE_CLASS_WITH_METHODS(SBAwayController, SBAwayController::registerMethods)

namespace {
runtime::RefPtr<SBAwayController>& shared()
{
    static runtime::RefPtr<SBAwayController> controller;
    return controller;
}
}

runtime::Ref<SBAwayController> SBAwayController::create()
{
    return runtime::adoptRef(*new SBAwayController);
}

SBAwayController* SBAwayController::sharedInstance() { return shared().get(); }
void SBAwayController::setSharedInstance(runtime::RefPtr<SBAwayController> controller) { shared() = std::move(controller); }

void SBAwayController::lock()
{
    lockOperation.send(this);
}

void SBAwayController::lockImplementation(runtime::Object* self, runtime::Selector)
{
    auto* controller = static_cast<SBAwayController*>(self);
    controller->m_locked = true;
    if (controller->m_presenter)
        controller->m_presenter(true);
}

void SBAwayController::unlock()
{
    if (!m_locked)
        return;
    m_locked = false;
    if (m_presenter)
        m_presenter(false);
}

}
