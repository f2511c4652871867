#include <springboard/SBFolder.h>

#include <springboard/SBFolderIcon.h>
#include <springboard/SBIcon.h>

#include <foundation/NSString.h>

#include <algorithm>
#include <climits>
#include <cstdint>

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
    runtime::WeakPtr<SBFolder> weakThis(this);
    m_iconObservations.push_back(icon->observeChanges([weakThis] {
        if (auto* folder = weakThis.get())
            folder->contentsDidChange();
    }));
    m_icons.push_back(std::move(icon));
    contentsDidChange();
}

void SBFolder::contentsDidChange()
{
    if (auto* folderIcon = m_icon.get())
        folderIcon->folderContentsDidChange();
}

int SBFolder::badgeValue() const
{
    // Each badge may be as large as an int; their sum must not wrap round to a negative one.
    int64_t sum = 0;
    for (auto& icon : m_icons)
        sum = std::min<int64_t>(sum + icon->badgeValue(), INT_MAX);
    return static_cast<int>(sum);
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
        if (icon->hasLeafIdentifier(identifier))
            return true;
    }
    return false;
}

std::string SBFolder::description() const
{
    return "<SBFolder: " + m_displayName + ">";
}

}
