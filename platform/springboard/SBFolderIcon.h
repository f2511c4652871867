#pragma once

#include <springboard/SBFolder.h>
#include <springboard/SBIcon.h>

namespace springboard {

// The icon of a folder on a page. Its image is a dark tile showing its first applications' icons
// in small, as iOS draws folder icons. Its badge is the sum of its applications' badges: clearing it
// clears theirs, while any other value cannot be given to the folder itself and is ignored.
class SBFolderIcon : public SBIcon {
    TORVANE_OBJECT(SBFolderIcon, SBIcon)
public:
    static runtime::Ref<SBFolderIcon> create(runtime::Ref<SBFolder> folder);

    bool isFolderIcon() const override { return true; }
    // Folders have no bundle identifier; their node identifier is made from the name.
    std::string leafIdentifier() const override { return "folder:" + m_folder->displayName(); }
    std::string displayName() const override { return m_folder->displayName(); }
    SBFolder* folder() const override { return m_folder.ptr(); }

    int badgeValue() const override { return m_folder->badgeValue(); }
    void setBadgeValue(int value) override;

    // Its folder calls this when an icon joins it or one of its icons changes.
    void folderContentsDidChange();

private:
    explicit SBFolderIcon(runtime::Ref<SBFolder> folder);

    runtime::Ref<SBFolder> m_folder;
    // The sum observers last heard of, so they hear only of changes to it.
    int m_notifiedBadgeValue { 0 };
};

}
