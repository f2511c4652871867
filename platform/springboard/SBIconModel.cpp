#include <springboard/SBIconModel.h>

namespace springboard {

TORVANE_DEFINE_CLASS(SBIconModel)

runtime::Ref<SBIconModel> SBIconModel::create()
{
    return runtime::adoptRef(*new SBIconModel);
}

SBApplicationIcon* SBIconModel::applicationIconForDisplayIdentifier(std::string_view bundleIdentifier) const
{
    auto it = m_iconsByIdentifier.find(bundleIdentifier);
    return it == m_iconsByIdentifier.end() ? nullptr : it->second;
}

SBFolder* SBIconModel::folderNamed(std::string_view name) const
{
    for (auto& folder : m_folders) {
        if (folder->displayName() == name)
            return folder.ptr();
    }
    return nullptr;
}

void SBIconModel::ensurePage(size_t page)
{
    while (m_pages.size() <= page)
        m_pages.emplace_back();
}

bool SBIconModel::registerApplicationIcon(const runtime::Ref<SBApplicationIcon>& icon)
{
    auto identifier = icon->leafIdentifier();
    if (m_iconsByIdentifier.count(identifier))
        return false;
    m_iconsByIdentifier.emplace(identifier, icon.ptr());
    m_applicationIcons.push_back(icon);
    return true;
}

bool SBIconModel::placeOnPage(runtime::Ref<SBIcon> icon, size_t page)
{
    ensurePage(page);
    if (m_pages[page].size() >= iconsPerPage)
        return false;
    m_pages[page].push_back(std::move(icon));
    return true;
}

bool SBIconModel::addApplicationIconToPage(runtime::Ref<SBApplicationIcon> icon, size_t page)
{
    ensurePage(page);
    if (m_pages[page].size() >= iconsPerPage || applicationIconForDisplayIdentifier(icon->leafIdentifier()))
        return false;
    registerApplicationIcon(icon);
    return placeOnPage(icon, page);
}

bool SBIconModel::addApplicationIconToDock(runtime::Ref<SBApplicationIcon> icon)
{
    if (m_dock.size() >= dockCapacity || !registerApplicationIcon(icon))
        return false;
    m_dock.push_back(icon);
    return true;
}

SBFolder* SBIconModel::addFolderToPage(const std::string& name, size_t page)
{
    if (SBFolder* existing = folderNamed(name))
        return existing;
    auto folder = SBFolder::create(name);
    auto folderIcon = SBFolderIcon::create(folder);
    if (!placeOnPage(folderIcon, page))
        return nullptr;
    m_folders.push_back(folder);
    return folder.ptr();
}

bool SBIconModel::addApplicationIconToFolder(runtime::Ref<SBApplicationIcon> icon, const std::string& folderName, size_t folderPage)
{
    if (applicationIconForDisplayIdentifier(icon->leafIdentifier()))
        return false;
    SBFolder* folder = addFolderToPage(folderName, folderPage);
    if (!folder)
        return false;
    registerApplicationIcon(icon);
    folder->addIcon(icon);
    return true;
}

std::string SBIconModel::locationOfIcon(const SBIcon& icon) const
{
    for (auto& docked : m_dock) {
        if (docked.ptr() == &icon)
            return "dock";
    }
    for (size_t page = 0; page < m_pages.size(); ++page) {
        for (auto& placed : m_pages[page]) {
            if (placed.ptr() == &icon)
                return "page" + std::to_string(page);
        }
    }
    for (auto& folder : m_folders) {
        for (auto& inside : folder->icons()) {
            if (inside.ptr() == &icon)
                return "folder:" + folder->displayName();
        }
    }
    return {};
}

bool SBIconModel::isIconInDock(const SBIcon& icon) const
{
    for (auto& docked : m_dock) {
        if (docked.ptr() == &icon)
            return true;
    }
    return false;
}

int SBIconModel::pageOfIcon(const SBIcon& icon) const
{
    for (size_t page = 0; page < m_pages.size(); ++page) {
        for (auto& placed : m_pages[page]) {
            if (placed.ptr() == &icon)
                return static_cast<int>(page);
            if (auto* folder = placed->folder(); folder && folder->containsNodeIdentifier(icon.leafIdentifier()) && !icon.isFolderIcon())
                return static_cast<int>(page);
        }
    }
    return -1;
}

}
