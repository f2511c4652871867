#include <foundation/NSError.h>

#include <cstring>

namespace foundation {

using runtime::Ref;

TORVANE_DEFINE_CLASS(NSError)

Ref<NSError> NSError::create(std::string domain, long code, std::string localizedDescription)
{
    return adoptRef(*new NSError(std::move(domain), code, std::move(localizedDescription)));
}

Ref<NSError> NSError::posixError(int errnoValue, const std::string& what)
{
    return create(NSPOSIXErrorDomain, errnoValue, what + ": " + std::strerror(errnoValue));
}

std::string NSError::description() const
{
    return "Error Domain=" + m_domain + " Code=" + std::to_string(m_code) + " \"" + m_localizedDescription + "\"";
}

}
