#include <springboard/SBApplicationIcon.h>

namespace springboard {

TORVANE_DEFINE_CLASS(SBApplicationIcon)

runtime::Ref<SBApplicationIcon> SBApplicationIcon::create(runtime::Ref<SBApplication> application)
{
    return runtime::adoptRef(*new SBApplicationIcon(std::move(application)));
}

bool SBApplicationIcon::isRemovable() const
{
    return !m_application->bundleIdentifier().starts_with("com.apple.");
}

}
