#pragma once

// The home screen's controller: icon editing, the open folder and the page shown.
// openFolder:animated: is hookable; its own implementation shows the folder's icons (mapped again
// through the home-screen map) in the open-folder panel.

#include <springboard/Forward.h>
#include <springboard/HookedOperations.h>

#include <runtime/Object.h>
#include <runtime/RefPtr.h>

#include <functional>

namespace springboard {

class SBIconController : public runtime::Object {
    TORVANE_OBJECT(SBIconController, runtime::Object)
public:
    static runtime::Ref<SBIconController> create();
    static SBIconController* sharedInstance();
    static void setSharedInstance(runtime::RefPtr<SBIconController>);

    bool isEditing() const { return m_editing; }
    void setIsEditing(bool editing);

    void openFolder(SBFolder* folder, bool animated);
    void closeFolder();
    // The open folder, or nullptr.
    SBFolder* openFolder() const { return m_openFolder.get(); }

    // What opening and closing a folder and editing do to the screen; SpringBoard installs them.
    void setFolderPresenter(std::function<void(SBFolder*)> presenter) { m_folderPresenter = std::move(presenter); }
    void setEditingPresenter(std::function<void(bool)> presenter) { m_editingPresenter = std::move(presenter); }

private:
    SBIconController() = default;
    static void registerMethods(runtime::Class&);
    static void openFolderImplementation(runtime::Object* self, runtime::Selector, runtime::Object* folder, bool animated);

    bool m_editing { false };
    runtime::RefPtr<SBFolder> m_openFolder;
    std::function<void(SBFolder*)> m_folderPresenter;
    std::function<void(bool)> m_editingPresenter;
};

}
