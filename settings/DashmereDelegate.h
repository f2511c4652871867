#pragma once

// The pane's first screen, the root list of switches and links built from "DMRHome", and the class
// operations through which every screen of the pane reads and writes the preferences file.

#include <foundation/NSDictionary.h>
#include <preferences/PSListController.h>
#include <runtime/RefPtr.h>
#include <uikit/UILabel.h>
#include <uikit/UIProgressHUD.h>
#include <uikit/UIProgressView.h>

#include <foundation/ObserverToken.h>

#include <string_view>
#include <vector>

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

    bool initForContentSize(CGSize size) override;
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

private:
    DashmereDelegate();

    runtime::RefPtr<uikit::UIProgressHUD> m_waitHud;
    runtime::RefPtr<uikit::UIProgressView> m_loadingView;
    runtime::RefPtr<uikit::UILabel> m_loadingLabel;
    int32_t m_appLoading { 0 };
    std::vector<foundation::ObserverToken> m_observers;
};
