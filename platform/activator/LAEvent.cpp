#include <activator/LAEvent.h>

#include <foundation/Format.h>

namespace activator {

TORVANE_DEFINE_CLASS(LAEvent)

runtime::Ref<LAEvent> LAEvent::eventWithName(std::string name, std::string mode)
{
    return runtime::adoptRef(*new LAEvent(std::move(name), std::move(mode)));
}

std::string LAEvent::description() const
{
    return foundation::format("<LAEvent name=%s mode=%s handled=%s>", m_name, m_mode, m_handled ? "YES" : "NO");
}

}
