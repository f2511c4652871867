#include "TorvaneActivatorSetup.h"

#include "AddOnNotifications.h"
#include "CompanionData.h"
#include "ConfirmButton/TQConfirmButton.h"
#include "SavedSwipeSettings.h"
#include "SharedNames.h"
#include "TQAppCell.h"
#include "TQTableAlert.h"

#include <activator/LAActivator.h>
#include <activator/LAEvent.h>
#include <foundation/NSArray.h>
#include <foundation/NSData.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSFileManager.h>
#include <foundation/NSLog.h>
#include <foundation/NSMutableArray.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNotificationCenter.h>
#include <foundation/NSString.h>
#include <runtime/WeakPtr.h>
#include <springboard/SBApplication.h>
#include <springboard/SBApplicationController.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIImage.h>
#include <uikit/UITableView.h>

#include <utility>
#include <vector>

namespace tweak {

using foundation::NSDictionary;
using foundation::NSMutableDictionary;
using foundation::NSStr;
using foundation::NSString;
using runtime::Ref;
using runtime::RefPtr;

TORVANE_DEFINE_CLASS(TorvaneActivatorSetup)

namespace {

// The measured memory text the popup adds to each companion record it lists.
constexpr char memoryKey[] = "RAM";

// What "%@" makes of a value: its description, "(null)" for nil.
std::string describe(const runtime::Object* value)
{
    return value ? value->description() : std::string("(null)");
}

std::string describe(const NSDictionary& entry, std::string_view key) { return describe(entry.objectForKey(key).get()); }

float memoryOf(const NSDictionary& entry)
{
    auto* text = runtime::dynamicCast<NSString>(entry.objectForKey(memoryKey).get());
    return text ? text->floatValue() : 0;
}

// A shown alert lays itself out afresh for a new title, which would drop the table alert's growth
// and put its buttons back over the table; the popup keeps the size it was shown with instead.
void retitleKeepingLayout(uikit::UIAlertView& alert, std::string title)
{
    auto frame = alert.frame();
    std::vector<std::pair<Ref<uikit::UIView>, uikit::CGRect>> placed;
    for (auto& subview : alert.subviews())
        placed.emplace_back(subview, subview->frame());
    alert.setTitle(std::move(title));
    alert.setFrame(frame);
    for (auto& [subview, subviewFrame] : placed)
        subview->setFrame(subviewFrame);
}

runtime::WeakPtr<TorvaneActivatorSetup>& popupOwner()
{
    static auto* owner = new runtime::WeakPtr<TorvaneActivatorSetup>;
    return *owner;
}

}

Ref<TorvaneActivatorSetup> TorvaneActivatorSetup::create()
{
    return runtime::adoptRef(*new TorvaneActivatorSetup);
}

TorvaneActivatorSetup::TorvaneActivatorSetup()
{
    // The token lives in this object, so the observer goes when the listener does.
    m_killAlertObserver = foundation::NSNotificationCenter::defaultCenter().addObserver(AddOnNotification::closeQuickKillerPopup, nullptr,
        [this](foundation::NSNotification&) { killTheAlertNow(); });
}

TorvaneActivatorSetup::~TorvaneActivatorSetup() = default;

TorvaneActivatorSetup* TorvaneActivatorSetup::showingPopup()
{
    auto* owner = popupOwner().get();
    return owner && owner->m_appsTable && owner->m_appsTable->isPresented() ? owner : nullptr;
}

void TorvaneActivatorSetup::activatorReceiveEvent(activator::LAActivator& activator, activator::LAEvent& event, const std::string&)
{
    auto assigned = activator.assignedListenerNameForEvent(event);
    if (assigned && assigned->string() == listenerName) {
        if (doesNimbrelAppsFileExist())
            startPreparingForPopup();
        else
            showNoAppDataWarningAlert();
    }
    event.setHandled(true);
}

RefPtr<NSString> TorvaneActivatorSetup::activatorRequiresLocalizedTitleForListenerName(activator::LAActivator&, const std::string& name)
{
    return name == listenerName ? RefPtr<NSString>(NSStr(listenerTitle)) : nullptr;
}

RefPtr<NSString> TorvaneActivatorSetup::activatorRequiresLocalizedDescriptionForListenerName(activator::LAActivator&,
    const std::string& name)
{
    return name == listenerName ? RefPtr<NSString>(NSStr(listenerDescription)) : nullptr;
}

RefPtr<foundation::NSData> TorvaneActivatorSetup::activatorRequiresSmallIconDataForListenerNameScale(activator::LAActivator&,
    const std::string& name, float)
{
    if (name != listenerName)
        return nullptr;
    auto image = uikit::UIImage::imageWithContentsOfFile(listenerIconPath);
    return uikit::UIImagePNGRepresentation(image.get());
}

bool TorvaneActivatorSetup::doesNimbrelAppsFileExist() const
{
    return foundation::NSFileManager::defaultManager().fileExistsAtPath(torvane::companionDataPath);
}

RefPtr<NSDictionary> TorvaneActivatorSetup::getAllInfoFromBundleID(const NSString& bundleIdentifier)
{
    std::string wanted = describe(&bundleIdentifier);
    auto data = CompanionData::contents();
    auto* applications = data ? runtime::dynamicCast<foundation::NSArray>(data->objectForKey(torvane::CompanionRecord::applications).get()) : nullptr;
    if (!applications)
        return nullptr;
    Ref<foundation::NSArray> entries = *applications;
    for (auto& element : *entries) {
        auto* entry = runtime::dynamicCast<NSDictionary>(element.ptr());
        if (entry && describe(*entry, torvane::CompanionRecord::bundleIdentifier) == wanted)
            return NSDictionary::dictionaryWithDictionary(*entry);
    }
    return nullptr;
}

void TorvaneActivatorSetup::startPreparingForPopup()
{
    // A popup from an earlier event would stay on screen over the rebuilt list, and its Kill buttons
    // would find their rows in the new popup's table: close it first, as the closing signal does.
    killTheAlertNow();

    m_aliveApps = foundation::NSMutableArray::create();
    m_totalRAMBeingUsed = 0;

    auto running = SavedSwipeSettings::getFolderArray();
    size_t expected = running->count();
    auto* controller = springboard::SBApplicationController::sharedInstance();
    for (auto& element : *running) {
        auto* bundleIdentifier = runtime::dynamicCast<NSString>(element.ptr());
        if (!bundleIdentifier)
            continue;
        auto info = getAllInfoFromBundleID(*bundleIdentifier);
        if (!info || !controller)
            continue;
        auto applications = controller->applicationsWithBundleIdentifier(bundleIdentifier->string());
        if (applications->count() == 0)
            continue;
        auto* application = runtime::dynamicCast<springboard::SBApplication>(&applications->objectAtIndex(0));
        if (!application)
            continue;
        if (!application->isRunning()) {
            --expected;
            continue;
        }
        auto memory = SavedSwipeSettings::getMemUsingAndCPUWithPID(application->pid());
        m_totalRAMBeingUsed += memory->floatValue();
        auto entry = NSMutableDictionary::dictionaryWithDictionary(*info);
        entry->setObjectForKey(memory, memoryKey);
        m_aliveApps->addObject(entry);
    }

    if (m_aliveApps->count() != expected) {
        showNoAppDataWarningAlert();
        return;
    }
    if (m_aliveApps->count() == 0) {
        showNoOpenAppsAlert();
        return;
    }
    m_aliveApps->sortUsingComparator([](runtime::Object& left, runtime::Object& right) {
        float a = memoryOf(static_cast<NSDictionary&>(left));
        float b = memoryOf(static_cast<NSDictionary&>(right));
        return a > b ? -1 : (a < b ? 1 : 0);
    });

    m_appsTable = TQTableAlert::create(getNewTitleString(), std::string("Cancel"), std::nullopt);
    m_appsTable->setTableViewDataSource(this);
    m_appsTable->setTableViewDelegate(this);
    m_appsTable->setDelegate(this);
    popupOwner() = this;
    Ref<TQTableAlert> shown = *m_appsTable;
    shown->show();
}

std::string TorvaneActivatorSetup::getNewTitleString() const
{
    return "Using " + std::to_string(static_cast<int>(m_totalRAMBeingUsed)) + " MBs of RAM";
}

void TorvaneActivatorSetup::showNoAppDataWarningAlert()
{
    uikit::UIAlertView::create(std::string("Torvane: No App Data"),
        std::string("You need to go into Torvanes settings and hit the 'reload' button in the top right corner."), nullptr,
        std::string("Okay"))
        ->show();
}

void TorvaneActivatorSetup::showNoOpenAppsAlert()
{
    uikit::UIAlertView::create(std::string("Torvane"), std::string("You currently have no running applications."), nullptr,
        std::string("Okay"))
        ->show();
}

std::string TorvaneActivatorSetup::memoryLabel(const NSDictionary& entry)
{
    auto* text = runtime::dynamicCast<NSString>(entry.objectForKey(memoryKey).get());
    return std::to_string(text ? text->intValue() : 0) + " MB";
}

int TorvaneActivatorSetup::tableViewNumberOfRowsInSection(uikit::UITableView&, int)
{
    return m_aliveApps ? static_cast<int>(m_aliveApps->count()) : 0;
}

RefPtr<uikit::UITableViewCell> TorvaneActivatorSetup::tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
    uikit::NSIndexPath& indexPath)
{
    RefPtr<TQAppCell> cell = runtime::dynamicCast<TQAppCell>(tableView.dequeueReusableCellWithIdentifier(std::string(cellIdentifier)).get());
    if (!cell)
        cell = TQAppCell::create(uikit::UITableViewCellStyleDefault, std::string(cellIdentifier));

    auto& entry = static_cast<NSDictionary&>(m_aliveApps->objectAtIndex(static_cast<size_t>(indexPath.row())));
    cell->setAppName(describe(entry, torvane::CompanionRecord::name));
    auto* iconPath = runtime::dynamicCast<NSString>(entry.objectForKey(torvane::CompanionRecord::iconPath).get());
    cell->setAppIcon(iconPath ? uikit::UIImage::imageWithContentsOfFile(iconPath->string()) : nullptr);
    cell->setAppID(describe(entry, torvane::CompanionRecord::bundleIdentifier));
    cell->setMemoryAmount(memoryLabel(entry));
    cell->setNeedsDisplay();

    // A reused cell still carries the button of the row it showed before.
    if (auto* previous = runtime::dynamicCast<TQConfirmButton>(cell->viewWithTag(killButtonTag))) {
        Ref<TQConfirmButton> protectedButton = *previous;
        previous->cancel();
        previous->removeFromSuperview();
    } else if (auto* other = cell->viewWithTag(killButtonTag)) {
        other->removeFromSuperview();
    }

    auto button = TQConfirmButton::buttonWithTitle("Kill", "Kill");
    button->addTarget(this, [this](uikit::UIControl& sender, uikit::UIEvent*) { confirmForKill(&sender); },
        uikit::UIControlEventTouchUpInside);
    button->setAnchor({ 255, 7 });
    button->setTag(killButtonTag);
    cell->addSubview(button);
    // Red from the start, so one tap ends the application.
    button->setSelected(true);

    cell->setSelectionStyle(uikit::UITableViewCellSelectionStyleNone);
    return cell;
}

void TorvaneActivatorSetup::confirmForKill(uikit::UIView* sender)
{
    if (!m_appsTable)
        return;
    Ref<TorvaneActivatorSetup> protectedThis = *this;
    Ref<TQTableAlert> table = *m_appsTable;
    RefPtr<uikit::UIView> protectedSender = sender;
    auto& tableView = table->tableView();
    uikit::CGPoint origin = sender ? sender->convertPointToView({ 0, 0 }, &tableView) : uikit::CGPoint { 0, 0 };
    auto indexPath = tableView.indexPathForRowAtPoint(origin);
    if (!indexPath || !m_aliveApps || indexPath->row() < 0 || static_cast<size_t>(indexPath->row()) >= m_aliveApps->count())
        return;
    size_t row = static_cast<size_t>(indexPath->row());

    Ref<NSDictionary> entry = static_cast<NSDictionary&>(m_aliveApps->objectAtIndex(row));
    auto bundleIdentifier = NSStr(describe(*entry, torvane::CompanionRecord::bundleIdentifier));
    if (!SavedSwipeSettings::superFinallyKillTheseApps(foundation::NSArray::create({ bundleIdentifier }).ptr()))
        foundation::NSLog("Torvane Error with BID: %@", bundleIdentifier.ptr());
    m_totalRAMBeingUsed -= memoryOf(*entry);

    tableView.beginUpdates();
    tableView.deleteRowsAtIndexPaths({ *indexPath }, uikit::UITableViewRowAnimationRight);
    m_aliveApps->removeObjectAtIndex(row);
    tableView.endUpdates();

    retitleKeepingLayout(table->view(), getNewTitleString());
    if (m_aliveApps->count() == 0)
        killTheAlertNow();
}

void TorvaneActivatorSetup::killAllTheApplications()
{
    if (!m_aliveApps || m_aliveApps->count() == 0)
        return;
    foundation::NSArray::Storage identifiers;
    for (auto& element : *m_aliveApps) {
        if (auto identifier = static_cast<NSDictionary&>(element.get()).objectForKey(torvane::CompanionRecord::bundleIdentifier))
            identifiers.push_back(*identifier);
    }
    auto list = foundation::NSArray::create(std::move(identifiers));
    if (!SavedSwipeSettings::superFinallyKillTheseApps(list.ptr()))
        foundation::NSLog("Torvane Error with BIDs: %@", list.ptr());
}

void TorvaneActivatorSetup::killTheAlertNow()
{
    if (!m_appsTable)
        return;
    Ref<uikit::UIAlertView> alert = m_appsTable->view();
    alert->dismissWithClickedButtonIndex(2, true);
}

void TorvaneActivatorSetup::tableAlertDidDismissWithButtonIndex(TQTableAlert&, int buttonIndex)
{
    if (buttonIndex == 1)
        killAllTheApplications();
    m_appsTable = nullptr;
    if (popupOwner().get() == this)
        popupOwner() = nullptr;
}

}
