#pragma once

#include <runtime/Object.h>

#include <string>

namespace foundation {

// Domain of errors that carry an errno value as their code.
inline constexpr const char* NSPOSIXErrorDomain = "NSPOSIXErrorDomain";

class NSError final : public runtime::Object {
    TORVANE_OBJECT(NSError, runtime::Object)
public:
    static runtime::Ref<NSError> create(std::string domain, long code, std::string localizedDescription);
    // An NSPOSIXErrorDomain error for `errnoValue`, described as "<what>: <strerror text>".
    static runtime::Ref<NSError> posixError(int errnoValue, const std::string& what);

    const std::string& domain() const { return m_domain; }
    long code() const { return m_code; }
    const std::string& localizedDescription() const { return m_localizedDescription; }

    // Error Domain=<domain> Code=<code> "<description>"
    std::string description() const override;

private:
    NSError(std::string domain, long code, std::string localizedDescription)
        : m_domain(std::move(domain))
        , m_code(code)
        , m_localizedDescription(std::move(localizedDescription))
    {
    }

    std::string m_domain;
    long m_code;
    std::string m_localizedDescription;
};

}
