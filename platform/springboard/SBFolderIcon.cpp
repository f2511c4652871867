#include <springboard/SBFolderIcon.h>

namespace springboard {

TORVANE_DEFINE_CLASS(SBFolderIcon)

runtime::Ref<SBFolderIcon> SBFolderIcon::create(runtime::Ref<SBFolder> folder)
{
    auto icon = runtime::adoptRef(*new SBFolderIcon(folder));
    folder->setIcon(icon.ptr());
    return icon;
}

SBFolderIcon::SBFolderIcon(runtime::Ref<SBFolder> folder)
    : m_folder(std::move(folder))
    , m_notifiedBadgeValue(m_folder->badgeValue())
{
}

void SBFolderIcon::setBadgeValue(int value)
{
    if (value > 0)
        return;
    // A copy: clearing a badge tells observers, who may change the folder.
    auto icons = m_folder->icons();
    for (auto& icon : icons)
        icon->setBadgeValue(0);
}

void SBFolderIcon::folderContentsDidChange()
{
    int value = badgeValue();
    if (value == m_notifiedBadgeValue)
        return;
    m_notifiedBadgeValue = value;
    notifyChanged();
}

}
