#include <springboard/SBApplication.h>

#include <foundation/Format.h>

namespace springboard {

void SBApplication::registerMethods(runtime::Class& cls)
{
    cls.addMethod(setApplicationStateOperation, setApplicationStateImplementation);
    cls.addMethod(willActivateOperation, willActivateImplementation);
}

TORVANE_DEFINE_CLASS_WITH_METHODS(SBApplication, SBApplication::registerMethods)

runtime::Ref<SBApplication> SBApplication::create(std::string bundleIdentifier, std::string displayName)
{
    return runtime::adoptRef(*new SBApplication(std::move(bundleIdentifier), std::move(displayName)));
}

SBApplication::SBApplication(std::string bundleIdentifier, std::string displayName)
    : m_bundleIdentifier(std::move(bundleIdentifier))
    , m_displayName(std::move(displayName))
{
}

void SBApplication::setApplicationState(int state)
{
    setApplicationStateOperation.send(this, state);
}

void SBApplication::willActivate()
{
    willActivateOperation.send(this);
}

void SBApplication::setApplicationStateImplementation(runtime::Object* self, runtime::Selector, int state)
{
    static_cast<SBApplication*>(self)->m_state = state;
}

void SBApplication::willActivateImplementation(runtime::Object* self, runtime::Selector)
{
    ++static_cast<SBApplication*>(self)->m_activationCount;
}

std::string SBApplication::description() const
{
    return foundation::format("<SBApplication: %s state %d pid %d>", m_bundleIdentifier.c_str(), m_state, static_cast<int>(m_pid));
}

}
