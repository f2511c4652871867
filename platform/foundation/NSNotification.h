#pragma once

#include <foundation/NSDictionary.h>
#include <runtime/Object.h>

#include <string>

namespace foundation {

// One in-process notification: a name, an optional sender object and an optional dictionary.
class NSNotification : public runtime::Object {
    TORVANE_OBJECT(NSNotification, runtime::Object)
public:
    static runtime::Ref<NSNotification> create(std::string name, runtime::RefPtr<runtime::Object> object = nullptr,
        runtime::RefPtr<NSDictionary> userInfo = nullptr);

    const std::string& name() const { return m_name; }
    const runtime::RefPtr<runtime::Object>& object() const { return m_object; }
    const runtime::RefPtr<NSDictionary>& userInfo() const { return m_userInfo; }

    std::string description() const override;

private:
    NSNotification(std::string name, runtime::RefPtr<runtime::Object> object, runtime::RefPtr<NSDictionary> userInfo);

    std::string m_name;
    runtime::RefPtr<runtime::Object> m_object;
    runtime::RefPtr<NSDictionary> m_userInfo;
};

}
