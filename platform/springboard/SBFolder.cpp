#include <springboard/SBFolder.h>

#include <springboard/SBFolderIcon.h>
#include <springboard/SBIcon.h>

#include <foundation/NSString.h>

namespace springboard {

TORVANE_DEFINE_CLASS(SBFolder)

runtime::Ref<SBFolder> SBFolder::create(std::string displayName)
{
    return runtime::adoptRef(*new SBFolder(std::move(displayName)));
}

SBFolder::SBFolder(std::string displayName)
    : m_displayName(std::move(displayName))
{
}

SBFolder::~SBFolder() = default;

SBFolderIcon* SBFolder::icon() const { return m_icon.get(); }
void SBFolder::setIcon(SBFolderIcon* icon) { m_icon = icon; }

void SBFolder::addIcon(runtime::Ref<SBIcon> icon)
{
    m_icons.push_back(std::move(icon));
}

runtime::Ref<foundation::NSSet> SBFolder::containedNodeIdentifiers() const
{
    foundation::NSSet::Storage identifiers;
    for (auto& icon : m_icons)
        identifiers.push_back(foundation::NSString::create(icon->leafIdentifier()));
    return foundation::NSSet::create(identifiers);
}

bool SBFolder::containsNodeIdentifier(std::string_view identifier) const
{
    for (auto& icon : m_icons) {
        if (icon->leafIdentifier() == identifier)
            return true;
    }
    return false;
}

std::string SBFolder::description() const
{
    return "<SBFolder: " + m_displayName + ">";
}

}
