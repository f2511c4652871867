#pragma once

// The list of applications the swipe and the indicator leave alone. Each opening asks the companion
// to collect the application information again, waits for its completion signal behind the
// waiting display, then lists every application of the companion's file (folders left out) in
// alphabetical sections. Tapping an enabled application asks before disabling it; tapping a
// disabled one enables it at once. Every change writes DisableTheseApps whole.

#include "WaitingDisplay.h"

#include <foundation/NSMutableArray.h>
#include <foundation/NSString.h>
#include <foundation/ObserverToken.h>
#include <preferences/PSViewController.h>
#include <runtime/RefPtr.h>
#include <uikit/UIActionSheet.h>
#include <uikit/UITableView.h>
#include <uikit/UITableViewProtocols.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pane {

class NeverShowApplicationsController : public preferences::PSViewController,
                                        public uikit::UITableViewDataSource,
                                        public uikit::UITableViewDelegate,
                                        public uikit::UIActionSheetDelegate {
    TORVANE_OBJECT(NeverShowApplicationsController, preferences::PSViewController)
    TORVANE_ADOPTS(uikit::UITableViewDataSource, uikit::UITableViewDelegate, uikit::UIActionSheetDelegate)
public:
    static runtime::Ref<NeverShowApplicationsController> create();
    ~NeverShowApplicationsController() override;

    // Pops, without animation, while the Settings stack's top screen is one of these lists.
    static void popAllControllers();

    bool initForContentSize(uikit::CGSize size) override;
    void loadView() override;
    std::string navigationTitle() const override { return "Disable for Apps"; }
    // The question a row opened goes with the list: left open, its "Yes" would reach a list that
    // is gone, and its dimming would cover the Settings screen the user comes back to.
    void viewWillDisappear(bool animated) override;

    void startRunningTable();
    void waitingToLoadApps();
    void doneLoadingApps();
    void testForLoadedApps();
    void finishTableInit();
    void updateAppLoading();
    void checkApps();

    // applicationsAlert: — asks about (or at once enables) the application of `record`.
    void applicationsAlert(const foundation::NSDictionary& record);
    // willLockApplication: — YES disables bundleID, NO enables it; then DisableTheseApps is written.
    void willLockApplication(bool lock);
    void errorAlert(std::string message, std::string title);

    // UITableViewDataSource / UITableViewDelegate / UIActionSheetDelegate
    int numberOfSectionsInTableView(uikit::UITableView&) override;
    int tableViewNumberOfRowsInSection(uikit::UITableView&, int section) override;
    runtime::RefPtr<foundation::NSArray> sectionIndexTitlesForTableView(uikit::UITableView&) override;
    int tableViewSectionForSectionIndexTitle(uikit::UITableView&, const std::string& title, int index) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView&, int section) override;
    runtime::RefPtr<uikit::UITableViewCell> tableViewCellForRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override;
    void actionSheetClickedButtonAtIndex(uikit::UIActionSheet&, int buttonIndex) override;

    uikit::UITableView* appTable() const { return m_appTable.get(); }

    static constexpr int disableQuestionTag = 696951;

private:
    NeverShowApplicationsController();

    // The records of section s, or nullptr.
    foundation::NSArray* recordsOfSection(int section) const;

    runtime::RefPtr<uikit::UITableView> m_appTable;
    runtime::RefPtr<foundation::NSString> m_bundleID;
    runtime::Ref<foundation::NSMutableArray> m_indexArray;
    runtime::Ref<foundation::NSMutableArray> m_appNamesArray;
    runtime::Ref<foundation::NSMutableArray> m_applicationsArray;
    runtime::Ref<foundation::NSMutableArray> m_identifiersArray;
    WaitingDisplay m_waiting;
    int32_t m_appLoading { 0 };
    std::vector<foundation::ObserverToken> m_observers;
    // The disable question on screen, if any; the sheet's own window layer holds it.
    runtime::WeakPtr<uikit::UIActionSheet> m_disableQuestion;
};

}
