#include "NeverShowApplicationsController.h"

#include "DashmereDelegate.h"
#include "PaneNames.h"
#include "PaneNavigation.h"
#include "PreferenceValues.h"
#include "PreferencesFile.h"
#include "SharedNames.h"
#include "SwipeAppCell.h"

#include <foundation/Format.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSFileManager.h>
#include <foundation/NSNotificationCenter.h>
#include <foundation/NSSortDescriptor.h>
#include <notify/notify.h>
#include <preferences/PSClassFactory.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIColor.h>
#include <uikit/UIImage.h>

namespace pane {

using foundation::NSArray;
using foundation::NSDictionary;
using foundation::NSMutableArray;
using foundation::NSString;
using foundation::NSStr;
using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;

TORVANE_DEFINE_CLASS(NeverShowApplicationsController)
PS_REGISTER_CONTROLLER_CLASS(NeverShowApplicationsController)

Ref<NeverShowApplicationsController> NeverShowApplicationsController::create()
{
    return runtime::adoptRef(*new NeverShowApplicationsController);
}

NeverShowApplicationsController::NeverShowApplicationsController()
    : m_indexArray(NSMutableArray::create())
    , m_appNamesArray(NSMutableArray::create())
    , m_applicationsArray(NSMutableArray::create())
    , m_identifiersArray(NSMutableArray::create())
{
}

NeverShowApplicationsController::~NeverShowApplicationsController() = default;

void NeverShowApplicationsController::popAllControllers()
{
    popScreensOfClass<NeverShowApplicationsController>();
}

bool NeverShowApplicationsController::initForContentSize(uikit::CGSize size)
{
    m_appLoading = 0;
    auto& center = foundation::NSNotificationCenter::defaultCenter();
    m_observers.push_back(center.addObserver(checkOnAppsList, nullptr, [this](foundation::NSNotification&) { checkApps(); }));
    m_observers.push_back(center.addObserver(checkOnAppLoadingList, nullptr, [this](foundation::NSNotification&) { updateAppLoading(); }));

    if (auto disabled = runtime::dynamicCast<NSArray>(DashmereDelegate::getObjectWithKey("DisableTheseApps", false)))
        m_identifiersArray->addObjectsFromArray(*disabled);

    m_appTable = uikit::UITableView::create({ { 0, 0 }, size }, uikit::UITableViewStylePlain);
    m_appTable->setDelegate(this);
    m_appTable->setDataSource(this);
    m_appTable->setSeparatorColor(uikit::UIColor::clearColor());
    setView(m_appTable);

    navigationItem().setTitle(navigationTitle());
    startRunningTable();
    return Super::initForContentSize(size);
}

void NeverShowApplicationsController::loadView()
{
    // The table is the screen's only view, made at creation; this runs only if it was never made.
    if (!m_appTable)
        Super::loadView();
}

void NeverShowApplicationsController::startRunningTable()
{
    waitingToLoadApps();
    notify::notify_post(companionReloadRequest);
}

void NeverShowApplicationsController::waitingToLoadApps()
{
    m_appTable->setScrollEnabled(false);
    m_waiting.showInView(*m_appTable);
}

void NeverShowApplicationsController::updateAppLoading()
{
    m_appLoading++;
    m_waiting.showStage(m_appLoading);
}

void NeverShowApplicationsController::checkApps()
{
    doneLoadingApps();
}

void NeverShowApplicationsController::doneLoadingApps()
{
    RefPtr<NSArray> records;
    if (foundation::NSFileManager::defaultManager().fileExistsAtPath(torvane::companionDataPath)) {
        if (auto data = NSDictionary::dictionaryWithContentsOfFile(torvane::companionDataPath))
            records = runtime::dynamicCast<NSArray>(data->objectForKey(torvane::CompanionRecord::applications));
    }
    // A completion signal for a list already built builds nothing twice.
    m_applicationsArray->removeAllObjects();
    m_indexArray->removeAllObjects();
    m_appNamesArray->removeAllObjects();

    if (records && records->count()) {
        for (size_t i = 0; i < records->count(); ++i) {
            auto* record = runtime::dynamicCast<NSDictionary>(&records->objectAtIndex(i));
            if (record && !torvane::PreferencesFile::boolValueOf(record->objectForKey(torvane::CompanionRecord::isFolder).get()))
                m_applicationsArray->addObject(*record);
        }

        auto letterOf = [](const NSDictionary& record) -> RefPtr<NSString> {
            auto name = NSStr(PreferenceValues::textOf(record, torvane::CompanionRecord::name));
            if (name->length() < 2)
                return nullptr;
            return name->substringToIndex(1)->capitalizedString();
        };
        for (size_t i = 0; i < m_applicationsArray->count(); ++i) {
            auto letter = letterOf(static_cast<NSDictionary&>(m_applicationsArray->objectAtIndex(i)));
            if (letter && !m_indexArray->containsObject(*letter))
                m_indexArray->addObject(*letter);
        }
        m_indexArray->sortUsingSelector(foundation::SortSelector::LocalizedCompare);

        for (size_t s = 0; s < m_indexArray->count(); ++s) {
            auto& letter = static_cast<NSString&>(m_indexArray->objectAtIndex(s));
            auto section = NSMutableArray::create();
            for (size_t i = 0; i < m_applicationsArray->count(); ++i) {
                auto& record = static_cast<NSDictionary&>(m_applicationsArray->objectAtIndex(i));
                auto recordLetter = letterOf(record);
                if (recordLetter && recordLetter->isEqual(&letter) && !section->containsObject(record))
                    section->addObject(record);
            }
            section->sortUsingDescriptors({ foundation::NSSortDescriptor::create(torvane::CompanionRecord::name, true,
                foundation::SortSelector::LocalizedCaseInsensitiveCompare) });
            m_appNamesArray->addObject(NSDictionary::create({ { letter.string(), section } }));
        }
    }
    testForLoadedApps();
}

void NeverShowApplicationsController::testForLoadedApps()
{
    finishTableInit();
    if (m_applicationsArray->count())
        m_appTable->reloadData();
    else
        errorAlert("Applications could not be loaded, please try again.", "Loading Error");
}

void NeverShowApplicationsController::finishTableInit()
{
    m_appTable->setSeparatorColor(uikit::UIColor::lightGrayColor());
    m_waiting.finish();
    m_appTable->setScrollEnabled(true);
}

NSArray* NeverShowApplicationsController::recordsOfSection(int section) const
{
    if (section < 0 || static_cast<size_t>(section) >= m_appNamesArray->count() || static_cast<size_t>(section) >= m_indexArray->count())
        return nullptr;
    auto& entry = static_cast<NSDictionary&>(m_appNamesArray->objectAtIndex(section));
    auto& letter = static_cast<NSString&>(m_indexArray->objectAtIndex(section));
    // The section's dictionary holds the array, so the pointer stays good while the list does.
    return runtime::dynamicCast<NSArray>(entry.objectForKey(letter.string())).get();
}

int NeverShowApplicationsController::numberOfSectionsInTableView(uikit::UITableView&)
{
    return static_cast<int>(m_indexArray->count());
}

int NeverShowApplicationsController::tableViewNumberOfRowsInSection(uikit::UITableView&, int section)
{
    auto* records = recordsOfSection(section);
    return records ? static_cast<int>(records->count()) : 0;
}

RefPtr<NSArray> NeverShowApplicationsController::sectionIndexTitlesForTableView(uikit::UITableView&)
{
    return RefPtr<NSArray>(m_indexArray.ptr());
}

int NeverShowApplicationsController::tableViewSectionForSectionIndexTitle(uikit::UITableView&, const std::string& title, int)
{
    size_t index = m_indexArray->indexOfObject(NSStr(title));
    return index == foundation::NSNotFound ? 0 : static_cast<int>(index);
}

std::optional<std::string> NeverShowApplicationsController::tableViewTitleForHeaderInSection(uikit::UITableView&, int section)
{
    if (section < 0 || static_cast<size_t>(section) >= m_indexArray->count())
        return std::nullopt;
    return foundation::format("%@", m_indexArray->objectAtIndex(section));
}

RefPtr<uikit::UITableViewCell> NeverShowApplicationsController::tableViewCellForRowAtIndexPath(uikit::UITableView& table, uikit::NSIndexPath& indexPath)
{
    RefPtr<SwipeAppCell> cell = runtime::dynamicCast<SwipeAppCell>(table.dequeueReusableCellWithIdentifier("AppCell"));
    if (!cell)
        cell = SwipeAppCell::create(uikit::UITableViewCellStyleDefault, "AppCell");

    auto* records = recordsOfSection(indexPath.section());
    if (!records || indexPath.row() < 0 || static_cast<size_t>(indexPath.row()) >= records->count())
        return cell;
    auto& record = static_cast<NSDictionary&>(records->objectAtIndex(indexPath.row()));
    cell->setAppName(NSStr(PreferenceValues::textOf(record, torvane::CompanionRecord::name)).ptr());
    cell->setAppIcon(uikit::UIImage::imageWithContentsOfFile(PreferenceValues::textOf(record, torvane::CompanionRecord::iconPath)));
    cell->setIsNever(false);
    cell->changeContentAlpha(1.0f);
    if (m_identifiersArray->containsObject(NSStr(PreferenceValues::textOf(record, torvane::CompanionRecord::bundleIdentifier)))) {
        cell->setIsNever(true);
        cell->changeContentAlpha(0.5f);
    }
    cell->setSelectionStyle(uikit::UITableViewCellSelectionStyleBlue);
    return cell;
}

void NeverShowApplicationsController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& table, uikit::NSIndexPath& indexPath)
{
    table.deselectRowAtIndexPath(indexPath, true);
    auto* records = recordsOfSection(indexPath.section());
    if (!records || indexPath.row() < 0 || static_cast<size_t>(indexPath.row()) >= records->count())
        return;
    Ref<NSDictionary> record(static_cast<NSDictionary&>(records->objectAtIndex(indexPath.row())));
    applicationsAlert(record);
}

void NeverShowApplicationsController::applicationsAlert(const NSDictionary& record)
{
    m_bundleID = NSStr(PreferenceValues::textOf(record, torvane::CompanionRecord::bundleIdentifier));
    if (m_identifiersArray->containsObject(*m_bundleID)) {
        willLockApplication(false);
        return;
    }
    auto sheet = uikit::UIActionSheet::create(foundation::format("Would you like to disable %@?", record.objectForKey(torvane::CompanionRecord::name)),
        this, std::nullopt, std::nullopt, { "Yes", "Cancel" });
    sheet->setActionSheetStyle(uikit::UIActionSheetStyleBlackTranslucent);
    sheet->setTag(disableQuestionTag);
    sheet->setDestructiveButtonIndex(1);
    sheet->showInView(view());
    m_disableQuestion = sheet.ptr();
}

void NeverShowApplicationsController::viewWillDisappear(bool animated)
{
    Super::viewWillDisappear(animated);
    // An index without a button closes the sheet without answering it.
    if (runtime::RefPtr<uikit::UIActionSheet> question = m_disableQuestion.get())
        question->dismissWithClickedButtonIndex(-1, false);
}

void NeverShowApplicationsController::actionSheetClickedButtonAtIndex(uikit::UIActionSheet& sheet, int buttonIndex)
{
    if (buttonIndex == 0 && sheet.tag() == disableQuestionTag)
        willLockApplication(true);
}

void NeverShowApplicationsController::willLockApplication(bool lock)
{
    if (!m_bundleID)
        return;
    if (lock) {
        m_identifiersArray->addObject(*m_bundleID);
    } else {
        // Every occurrence goes, so a list that holds one twice is mended too.
        m_identifiersArray->removeObject(*m_bundleID);
    }
    DashmereDelegate::writeDictToSave(NSDictionary::create({ { "DisableTheseApps", m_identifiersArray->copy() } }).ptr());
    m_appTable->reloadData();
}

void NeverShowApplicationsController::errorAlert(std::string message, std::string title)
{
    uikit::UIAlertView::create(std::move(title), std::move(message), nullptr, std::string("Dismiss"))->show();
}

}
