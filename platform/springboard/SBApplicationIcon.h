#pragma once

#include <springboard/SBApplication.h>
#include <springboard/SBIcon.h>

namespace springboard {

// The icon of one application; its leaf identifier is the application's bundle identifier.
class SBApplicationIcon : public SBIcon {
    TORVANE_OBJECT(SBApplicationIcon, SBIcon)
public:
    static runtime::Ref<SBApplicationIcon> create(runtime::Ref<SBApplication> application);

    std::string leafIdentifier() const override { return m_application->bundleIdentifier(); }
    bool hasLeafIdentifier(std::string_view identifier) const override { return m_application->bundleIdentifier() == identifier; }
    std::string displayName() const override { return m_application->displayName(); }
    SBApplication* application() const override { return m_application.ptr(); }
    // Built-in applications stay on the device; the others may be deleted.
    bool isRemovable() const override;

private:
    explicit SBApplicationIcon(runtime::Ref<SBApplication> application)
        : m_application(std::move(application))
    {
    }

    runtime::Ref<SBApplication> m_application;
};

}
