#include <springboard/SBIconController.h>

#include <springboard/SBFolder.h>

namespace springboard {

void SBIconController::registerMethods(runtime::Class& cls)
{
    cls.addMethod(openFolderOperation, openFolderImplementation);
}

TORVANE_DEFINE_CLASS_WITH_METHODS(SBIconController, SBIconController::registerMethods)

namespace {
runtime::RefPtr<SBIconController>& shared()
{
    static runtime::RefPtr<SBIconController> controller;
    return controller;
}
}

runtime::Ref<SBIconController> SBIconController::create()
{
    return runtime::adoptRef(*new SBIconController);
}

SBIconController* SBIconController::sharedInstance() { return shared().get(); }
void SBIconController::setSharedInstance(runtime::RefPtr<SBIconController> controller) { shared() = std::move(controller); }

void SBIconController::setIsEditing(bool editing)
{
    if (editing == m_editing)
        return;
    m_editing = editing;
    if (m_editingPresenter)
        m_editingPresenter(editing);
}

void SBIconController::openFolder(SBFolder* folder, bool animated)
{
    openFolderOperation.send(this, folder, animated);
}

void SBIconController::openFolderImplementation(runtime::Object* self, runtime::Selector, runtime::Object* folderObject, bool)
{
    auto* controller = static_cast<SBIconController*>(self);
    auto* folder = runtime::dynamicCast<SBFolder>(folderObject);
    if (!folder)
        return;
    controller->m_openFolder = folder;
    if (controller->m_folderPresenter)
        controller->m_folderPresenter(folder);
}

void SBIconController::closeFolder()
{
    if (!m_openFolder)
        return;
    m_openFolder = nullptr;
    if (m_folderPresenter)
        m_folderPresenter(nullptr);
}

}
