#pragma once

// The pane's first screen, the root list of switches and links built from "DMRHome", and the class
// operations through which every screen of the pane reads and writes the preferences file.

#include <foundation/NSDictionary.h>
#include <preferences/PSListController.h>
#include <runtime/RefPtr.h>
#include "WaitingDisplay.h"

#include <foundation/ObserverToken.h>

#include <string_view>
#include <vector>

namespace pane {

class DashmereDelegate : public preferences::PSListController {
    TORVANE_OBJECT(DashmereDelegate, preferences::PSListController)
public:
    static runtime::Ref<DashmereDelegate> create();
    ~DashmereDelegate() override;

    // getObjectWithKey:isBool: — read afresh on every call. Nil for a nil key or a missing file;
    // with isBool a boolean number (NO when absent), else the entry itself.
    static runtime::RefPtr<runtime::Object> getObjectWithKey(const foundation::NSString* key, bool isBool);
    static runtime::RefPtr<runtime::Object> getObjectWithKey(std::string_view key, bool isBool);
    // writeDictToSave: — merges the entries into the file and writes it back whole, atomically.
    static void writeDictToSave(const foundation::NSDictionary* dictionary);
    // removeObjectForMyKey:
    static void removeObjectForMyKey(std::string_view key);
    // popAllControllersDMR
    static void popAllControllersDMR();

    bool initForContentSize(uikit::CGSize size) override;
    void viewWillAppear(bool animated) override;

    runtime::RefPtr<runtime::Object> getSettingsStatus(preferences::PSSpecifier* specifier);
    void willSetSettings(runtime::Object* value, preferences::PSSpecifier* specifier);

    void changeExtraSettingsVisiblity();
    void showInfoAlertView();
    void showNewFeatureAlert();
    void reloadUserIcon();
    void startToReloadAppData();
    void updateAppLoadingDel();
    void checkAppsDel();

    // The label the root adds to the theme row (tag 4169) and to the list row (tag 4368).
    static constexpr int themeNameLabelTag = 4169;
    static constexpr int disabledCountLabelTag = 4368;

private:
    DashmereDelegate();

    // Owned from the start of a reload to its end (waitHud, loadingView, loadingLabel).
    WaitingDisplay m_waiting;
    // Stage signals received during the current reload.
    int32_t m_appLoading { 0 };
    std::vector<foundation::ObserverToken> m_observers;
};

}
