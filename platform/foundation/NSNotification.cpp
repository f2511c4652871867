#include <foundation/NSNotification.h>

#include <cstdio>

namespace foundation {

TORVANE_DEFINE_CLASS(NSNotification)

runtime::Ref<NSNotification> NSNotification::create(std::string name, runtime::RefPtr<runtime::Object> object,
    runtime::RefPtr<NSDictionary> userInfo)
{
    return runtime::adoptRef(*new NSNotification(std::move(name), std::move(object), std::move(userInfo)));
}

NSNotification::NSNotification(std::string name, runtime::RefPtr<runtime::Object> object, runtime::RefPtr<NSDictionary> userInfo)
    : m_name(std::move(name))
    , m_object(std::move(object))
    , m_userInfo(std::move(userInfo))
{
}

std::string NSNotification::description() const
{
    // Foundation's shape: NSConcreteNotification 0x... {name = X; object = Y; userInfo = Z}
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    std::string text = "NSConcreteNotification " + std::string(address) + " {name = " + m_name;
    if (m_object)
        text += "; object = " + m_object->description();
    if (m_userInfo)
        text += "; userInfo = " + m_userInfo->description();
    return text + "}";
}

}
