#pragma once

#include "TQTableAlertProtocols.h"

#include <activator/LAListener.h>
#include <foundation/Forward.h>
#include <foundation/ObserverToken.h>
#include <runtime/Object.h>
#include <runtime/RefPtr.h>
#include <uikit/UITableViewProtocols.h>

#include <string_view>

namespace tweak {

class TQTableAlert;

// The quick killer's listener for the Activator library. Start-up makes exactly one, registers it
// under listenerName and keeps it for the life of SpringBoard.
//
// The event it is assigned to shows a table alert of the running applications, largest memory
// first: one row per application with a red "Kill" button that ends it at the first tap, the total
// in the title, and "Cancel" / "Kill All". It is the table's data source and delegate and the table
// alert's delegate. Locking the device or any application coming to the front closes the popup
// without ending anything.
class TorvaneActivatorSetup final : public runtime::Object,
                                    public activator::LAListener,
                                    public TQTableAlertDelegate,
                                    public uikit::UITableViewDataSource,
                                    public uikit::UITableViewDelegate {
    TORVANE_OBJECT(TorvaneActivatorSetup, runtime::Object)
    TORVANE_ADOPTS(TQTableAlertDelegate, uikit::UITableViewDataSource, uikit::UITableViewDelegate)
public:
    static constexpr std::string_view listenerName = "com.qelvo.torvane.activator.openapps";
    static constexpr std::string_view listenerTitle = "Torvane Quick Killer";
    static constexpr std::string_view listenerDescription = "Popup shows open apps, RAM use, and kill options";
    static constexpr std::string_view listenerIconPath = "/System/Library/PreferenceBundles/TorvaneSettings.bundle/TorvaneIcon.png";
    static constexpr std::string_view cellIdentifier = "AliveApplicationsCell";
    static constexpr uikit::CGFloat rowHeight = 40;
    static constexpr int killButtonTag = 991;

    // Observes TorvaneKillActivatorAlertNow (posted when the device locks or an application comes
    // to the front) until this object is released.
    static runtime::Ref<TorvaneActivatorSetup> create();
    ~TorvaneActivatorSetup() override;

    // The listener whose popup is on screen, if any; the driver reads and taps the popup through it.
    static TorvaneActivatorSetup* showingPopup();

    void activatorReceiveEvent(activator::LAActivator&, activator::LAEvent&, const std::string& listenerName) override;
    runtime::RefPtr<foundation::NSString> activatorRequiresLocalizedTitleForListenerName(activator::LAActivator&,
        const std::string& listenerName) override;
    runtime::RefPtr<foundation::NSString> activatorRequiresLocalizedDescriptionForListenerName(activator::LAActivator&,
        const std::string& listenerName) override;
    // The PNG encoding of the icon file's image for our listener name (nil when the file is not an
    // image); the scale is not used (one icon serves all).
    runtime::RefPtr<foundation::NSData> activatorRequiresSmallIconDataForListenerNameScale(activator::LAActivator&,
        const std::string& listenerName, float scale) override;

    bool doesNimbrelAppsFileExist() const;
    // A copy of the companion's entry for the bundle identifier, as its file holds it now; nil
    // when the file does not know it.
    static runtime::RefPtr<foundation::NSDictionary> getAllInfoFromBundleID(const foundation::NSString& bundleIdentifier);
    // Lists the running applications and shows the popup, or one of the two warning alerts.
    void startPreparingForPopup();
    std::string getNewTitleString() const;
    void showNoAppDataWarningAlert();
    void showNoOpenAppsAlert();
    // A row's kill button was tapped: ends that row's application and slides the row out.
    void confirmForKill(uikit::UIView* sender);
    // Ends every application still listed, in one call.
    void killAllTheApplications();
    // Closes the popup without ending anything.
    void killTheAlertNow();

    float totalRAMBeingUsed() const { return m_totalRAMBeingUsed; }
    TQTableAlert* appsTable() const { return m_appsTable.get(); }
    // The popup's entries in row order: companion entries with the measured "RAM" text added.
    foundation::NSMutableArray* aliveApps() const { return m_aliveApps.get(); }
    // The row's label for an entry's measured memory: whole megabytes, "12 MB".
    static std::string memoryLabel(const foundation::NSDictionary& entry);

    int numberOfSectionsInTableView(uikit::UITableView&) override { return 1; }
    int tableViewNumberOfRowsInSection(uikit::UITableView&, int section) override;
    uikit::CGFloat tableViewHeightForRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override { return rowHeight; }
    runtime::RefPtr<uikit::UITableViewCell> tableViewCellForRowAtIndexPath(uikit::UITableView&, uikit::NSIndexPath&) override;
    void tableAlertDidDismissWithButtonIndex(TQTableAlert&, int buttonIndex) override;

private:
    TorvaneActivatorSetup();

    foundation::ObserverToken m_killAlertObserver;
    runtime::RefPtr<TQTableAlert> m_appsTable;
    runtime::RefPtr<foundation::NSMutableArray> m_aliveApps;
    float m_totalRAMBeingUsed { 0 };
};

}
