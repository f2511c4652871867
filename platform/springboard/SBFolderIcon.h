#pragma once

#include <springboard/SBFolder.h>
#include <springboard/SBIcon.h>

namespace springboard {

// The icon of a folder on a page. Its image is a dark tile showing its first applications' icons
// in small, as iOS draws folder icons.
class SBFolderIcon : public SBIcon {
    TORVANE_OBJECT(SBFolderIcon, SBIcon)
public:
    static runtime::Ref<SBFolderIcon> create(runtime::Ref<SBFolder> folder);

    bool isFolderIcon() const override { return true; }
    // Folders have no bundle identifier; their node identifier is made from the name.
    std::string leafIdentifier() const override { return "folder:" + m_folder->displayName(); }
    std::string displayName() const override { return m_folder->displayName(); }
    SBFolder* folder() const override { return m_folder.ptr(); }

private:
    explicit SBFolderIcon(runtime::Ref<SBFolder> folder)
        : m_folder(std::move(folder))
    {
    }

    runtime::Ref<SBFolder> m_folder;
};

}
