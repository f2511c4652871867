#pragma once

// The home screen's content: pages of icons (application and folder icons), the dock, and the
// folders with the application icons inside them. Both icon-view maps share one model, so an
// application has one icon object however many views show it.

#include <springboard/Forward.h>
#include <springboard/SBApplicationIcon.h>
#include <springboard/SBFolderIcon.h>

#include <runtime/Object.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace springboard {

class SBIconModel : public runtime::Object {
    TORVANE_OBJECT(SBIconModel, runtime::Object)
public:
    static runtime::Ref<SBIconModel> create();

    static constexpr size_t iconsPerPage = 16;
    static constexpr size_t dockCapacity = 4;

    // bundle identifier → its application icon, or nullptr.
    SBApplicationIcon* applicationIconForDisplayIdentifier(std::string_view bundleIdentifier) const;
    SBFolder* folderNamed(std::string_view name) const;

    const std::vector<std::vector<runtime::Ref<SBIcon>>>& pages() const { return m_pages; }
    const std::vector<runtime::Ref<SBIcon>>& dock() const { return m_dock; }
    const std::vector<runtime::Ref<SBFolder>>& folders() const { return m_folders; }
    // Every application icon, in the order they were added.
    const std::vector<runtime::Ref<SBApplicationIcon>>& applicationIcons() const { return m_applicationIcons; }

    // Building. An application icon is placed once; placing an identifier that already has an icon
    // is refused (false). A full page or dock refuses too. A folder is made on first use and its icon
    // goes on `folderPage`.
    bool addApplicationIconToPage(runtime::Ref<SBApplicationIcon> icon, size_t page);
    bool addApplicationIconToDock(runtime::Ref<SBApplicationIcon> icon);
    bool addApplicationIconToFolder(runtime::Ref<SBApplicationIcon> icon, const std::string& folderName, size_t folderPage = 0);
    // The folder of that name, made (with its icon placed on `page`) when there is none yet;
    // nullptr when the page is full.
    SBFolder* addFolderToPage(const std::string& name, size_t page);
    // Makes sure page `page` exists (empty pages may be asked for by a description).
    void ensurePage(size_t page);

    // Where an icon sits: "page<N>", "dock" or "folder:<Name>"; empty when it is not in the model.
    std::string locationOfIcon(const SBIcon& icon) const;
    bool isIconInDock(const SBIcon& icon) const;
    // The page an icon (or the folder holding it) is on, or -1 for the dock and unknown icons.
    int pageOfIcon(const SBIcon& icon) const;

private:
    SBIconModel() = default;
    bool registerApplicationIcon(const runtime::Ref<SBApplicationIcon>& icon);
    bool placeOnPage(runtime::Ref<SBIcon> icon, size_t page);

    std::vector<std::vector<runtime::Ref<SBIcon>>> m_pages;
    std::vector<runtime::Ref<SBIcon>> m_dock;
    std::vector<runtime::Ref<SBFolder>> m_folders;
    std::vector<runtime::Ref<SBApplicationIcon>> m_applicationIcons;
    std::map<std::string, SBApplicationIcon*, std::less<>> m_iconsByIdentifier;
};

}
