#include "DashmereDelegate.h"

#include "ChooseCustomImageSetupController.h"
#include "CustomPassAlertViewS.h"
#include "NeverShowApplicationsController.h"
#include "PaneNames.h"
#include "PaneNavigation.h"
#include "PreferenceValues.h"
#include "PreferencesFile.h"
#include "SharedNames.h"

#include <foundation/Format.h>
#include <foundation/NSArray.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSFileManager.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNotificationCenter.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <foundation/PerformSelector.h>
#include <notify/notify.h>
#include <preferences/PSClassFactory.h>
#include <preferences/SettingsApplication.h>
#include <runtime/Operation.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIBarButtonItem.h>
#include <uikit/UIColor.h>
#include <uikit/UIFont.h>
#include <uikit/UILabel.h>

#include <array>

namespace pane {

using namespace foundation::literals;
using foundation::NSArray;
using foundation::NSDictionary;
using foundation::NSNumber;
using foundation::NSStr;
using foundation::NSString;
using preferences::PSSpecifier;
using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;

namespace {

struct SwitchRow {
    std::string_view identifier;
    std::string_view key;
};

// The seven switch rows and the keys they store, exactly as the specifier file names them.
constexpr std::array<SwitchRow, 7> switchRows { {
    { "ConfirmationHomeID", "ConfirmationAlertAtHome" },
    { "DashmereID", "DashmereOnAppSwitcher" },
    { "MoveImageID", "MoveImageAboveIcon" },
    { "ShowOnDockID", "DisableOnDock" },
    { "ClearBadgeID", "ClearBadgeEnabled" },
    { "LowSensitivityID", "LowerSensitivity" },
    { "AlertToClearBadgeID", "AlertToClearBadge" },
} };

std::string_view keyForRow(const PSSpecifier* specifier)
{
    if (!specifier)
        return {};
    for (const auto& row : switchRows) {
        if (row.identifier == specifier->identifier())
            return row.key;
    }
    return {};
}

constexpr const char newFeatureMessage[] = "A new feature in Torvane will require Activator. If you have it installed then go into Activator and assign an action to the new option called Torvane Quick Killer. When activated; a popup will appear with a list of all your currently open apps, how much RAM these apps are using, and the ability to kill each app individually. You also have the option to kill all the open apps at once.";

constexpr const char informationMessage[] = "   A new feature in Torvane will require Activator. If you have it installed then go into Activator and assign an action to the new option called Torvane Quick Killer. When activated a popup will appear with a list of all your currently open apps, how much RAM they are using, and the ability to kill each app. You also have the option to kill all your open apps at once. \n \n   Every running application will now be visually obvious on your home screen. This is done by making the icons appear to glow, or there are other indicators to choose. \n \n   To kill any open application just place your finger on that icon and swipe upwards. You can do this to any app on your home screen, as well as in the switcher bar.  \n \n   You can not kill any application that always runs (ex. Mail, Phone, iFile).";

// The switch rows' getter and setter, sent by the list by the names the specifier file gives.
inline constinit const runtime::Operation<RefPtr<Object>(PSSpecifier*)> getSettingsStatusOperation { "getSettingsStatus:" };
inline constinit const runtime::Operation<void(Object*, PSSpecifier*)> willSetSettingsOperation { "willSetSettings:specifier:" };

void registerSwitchOperations(runtime::Class& cls)
{
    cls.addMethod(getSettingsStatusOperation, [](Object* self, runtime::Selector, PSSpecifier* specifier) -> RefPtr<Object> {
        return static_cast<DashmereDelegate*>(self)->getSettingsStatus(specifier);
    });
    cls.addMethod(willSetSettingsOperation, [](Object* self, runtime::Selector, Object* value, PSSpecifier* specifier) {
        static_cast<DashmereDelegate*>(self)->willSetSettings(value, specifier);
    });
}

RefPtr<NSDictionary> selectedTheme()
{
    return runtime::dynamicCast<NSDictionary>(DashmereDelegate::getObjectWithKey("SelectedTheme", false));
}

// Puts `text` into the value label with `tag` in `cell`, making the label the first time.
void showValueLabel(uikit::UIView& cell, int tag, std::string text, Ref<uikit::UIColor> color)
{
    if (auto* existing = runtime::dynamicCast<uikit::UILabel>(cell.viewWithTag(tag))) {
        existing->setText(std::move(text));
        return;
    }
    auto label = uikit::UILabel::create({ { 140, 0 }, { 140, 45 } });
    label->setTag(tag);
    label->setBackgroundColor(uikit::UIColor::clearColor());
    label->setFont(uikit::UIFont::boldSystemFontOfSize(16));
    label->setTextAlignment(uikit::UITextAlignmentRight);
    label->setTextColor(std::move(color));
    label->setText(std::move(text));
    cell.addSubview(label);
}

}

TORVANE_DEFINE_CLASS_WITH_METHODS(DashmereDelegate, registerSwitchOperations)
PS_REGISTER_CONTROLLER_CLASS(DashmereDelegate)

Ref<DashmereDelegate> DashmereDelegate::create()
{
    return runtime::adoptRef(*new DashmereDelegate);
}

DashmereDelegate::DashmereDelegate() = default;

DashmereDelegate::~DashmereDelegate() = default;

RefPtr<Object> DashmereDelegate::getObjectWithKey(const NSString* key, bool isBool)
{
    return torvane::PreferencesFile::getObjectWithKey(key, isBool);
}

RefPtr<Object> DashmereDelegate::getObjectWithKey(std::string_view key, bool isBool)
{
    return torvane::PreferencesFile::getObjectWithKey(NSStr(key).ptr(), isBool);
}

void DashmereDelegate::writeDictToSave(const NSDictionary* dictionary)
{
    torvane::PreferencesFile::writeDictToSave(dictionary);
}

void DashmereDelegate::removeObjectForMyKey(std::string_view key)
{
    torvane::PreferencesFile::removeObjectForMyKey(NSStr(key).ptr());
}

void DashmereDelegate::popAllControllersDMR()
{
    notify::notify_post(torvane::DarwinNotification::reloadSettings);

    auto* application = preferences::SettingsApplication::shared();
    if (!application)
        return;
    auto& navigation = application->rootController();
    if (auto* listItems = runtime::Class::named("PSListItemsController")) {
        if (auto* top = navigation.topViewController(); top && top->isKindOfClass(*listItems))
            navigation.popViewControllerAnimated(false);
    }
    NeverShowApplicationsController::popAllControllers();
    popScreensOfClass<DashmereDelegate>();
    ChooseCustomImageSetupController::popAllControllers();
}

bool DashmereDelegate::initForContentSize(uikit::CGSize size)
{
    if (!Super::initForContentSize(size))
        return false;

    if (!foundation::NSFileManager::defaultManager().fileExistsAtPath(torvane::companionLibraryPath)) {
        uikit::UIAlertView::create(std::string("Missing Requirement!"),
            std::string("You must have Nimbrel installed via Cydia to use Torvane."), nullptr, std::string("I Understand"))
            ->show();
        return true;
    }

    m_appLoading = 0;
    auto& center = foundation::NSNotificationCenter::defaultCenter();
    // The observers hold the controller weakly: they go with it, so no later post reaches it.
    m_observers.push_back(center.addObserver(checkOnAppsRoot, nullptr, [this](foundation::NSNotification&) { checkAppsDel(); }));
    m_observers.push_back(center.addObserver(checkOnAppLoadingRoot, nullptr, [this](foundation::NSNotification&) { updateAppLoadingDel(); }));

    setSpecifiers(loadSpecifiersFromPlistName("DMRHome", this));
    changeExtraSettingsVisiblity();

    if (!getObjectWithKey("FirstAlert", false)) {
        showInfoAlertView();
        writeDictToSave(NSDictionary::create({ { "FirstAlert", NSStr("Pass") } }).ptr());
        writeDictToSave(NSDictionary::create({ { "NewFeatureAlert", NSStr("Pass") } }).ptr());
    } else if (!getObjectWithKey("NewFeatureAlert", false)) {
        showNewFeatureAlert();
        writeDictToSave(NSDictionary::create({ { "NewFeatureAlert", NSStr("Pass") } }).ptr());
    }

    // Like a delayed perform, the request keeps the controller until it has run.
    foundation::performAfterDelay(Ref<Object>(*this), 0.25_s, [this] { reloadUserIcon(); });
    return true;
}

void DashmereDelegate::viewWillAppear(bool animated)
{
    Super::viewWillAppear(animated);
    reloadSpecifierID("PreviewID");

    auto* themeCell = cachedCellForSpecifierID("ChooseImageID");
    auto* listCell = cachedCellForSpecifierID("NeverShowID");
    auto theme = selectedTheme();

    if (themeCell) {
        RefPtr<Object> displayName = theme ? theme->objectForKey("DisplayName") : nullptr;
        showValueLabel(*themeCell, themeNameLabelTag, foundation::format("%@", displayName),
            uikit::UIColor::colorWithRed(81 / 255.0, 102 / 255.0, 145 / 255.0, 1));
    }
    if (listCell) {
        auto disabled = runtime::dynamicCast<NSArray>(getObjectWithKey("DisableTheseApps", false));
        int count = disabled ? static_cast<int>(disabled->count()) : 0;
        showValueLabel(*listCell, disabledCountLabelTag, foundation::format("%i", count),
            uikit::UIColor::colorWithRed(81 / 255.0, 102 / 255.0, 230 / 255.0, 1));
    }
    changeExtraSettingsVisiblity();
}

void DashmereDelegate::changeExtraSettingsVisiblity()
{
    auto* moveImage = specifierForID("MoveImageID");
    if (!moveImage)
        return;
    auto theme = selectedTheme();
    std::string name = foundation::format("%@", theme ? theme->objectForKey("Name") : nullptr);
    bool offered = PreferenceValues::themeOffersImageAboveIcon(name);
    moveImage->setPropertyForKey(NSNumber::numberWithBool(offered), "enabled");
    reloadSpecifier(*moveImage);
}

RefPtr<Object> DashmereDelegate::getSettingsStatus(PSSpecifier* specifier)
{
    std::string_view key = keyForRow(specifier);
    if (key.empty())
        return NSStr("0");
    return getObjectWithKey(key, true);
}

void DashmereDelegate::willSetSettings(Object* value, PSSpecifier* specifier)
{
    std::string_view key = keyForRow(specifier);
    if (key.empty())
        return;
    bool on = torvane::PreferencesFile::boolValueOf(value);
    writeDictToSave(NSDictionary::create({ { std::string(key), NSNumber::numberWithBool(on) } }).ptr());
    if (specifier->identifier() == "MoveImageID")
        reloadSpecifierID("PreviewID");
}

void DashmereDelegate::showInfoAlertView()
{
    CustomPassAlertViewS::create(std::string("Torvane Information"), std::string(informationMessage), nullptr, std::string("Dismiss"))->show();
}

void DashmereDelegate::showNewFeatureAlert()
{
    CustomPassAlertViewS::create(std::string("New Feature!"), std::string(newFeatureMessage), nullptr, std::string("Dismiss"))->show();
}

void DashmereDelegate::reloadUserIcon()
{
    static constexpr std::string_view oldBarButtons = "showLeftButton:withStyle:rightButton:withStyle:";
    if (!preferences::PSViewController::staticClass().instancesRespondToSelector(runtime::sel(oldBarButtons))) {
        navigationItem().setRightBarButtonItem(uikit::UIBarButtonItem::create("Reload", uikit::UIBarButtonItemStyleBordered, this,
            [this](uikit::UIBarButtonItem&) { startToReloadAppData(); }));
    }
    notify::notify_post(torvane::DarwinNotification::newPreview);
}

void DashmereDelegate::startToReloadAppData()
{
    if (auto* reload = navigationItem().rightBarButtonItem())
        reload->setEnabled(false);
    view().setUserInteractionEnabled(false);
    m_appLoading = 0;
    m_waiting.showInView(view());
    notify::notify_post(companionReloadRequest);
}

void DashmereDelegate::updateAppLoadingDel()
{
    m_appLoading++;
    m_waiting.showStage(m_appLoading);
}

void DashmereDelegate::checkAppsDel()
{
    m_waiting.finish();
    if (auto* reload = navigationItem().rightBarButtonItem())
        reload->setEnabled(true);
    view().setUserInteractionEnabled(true);
}

}
