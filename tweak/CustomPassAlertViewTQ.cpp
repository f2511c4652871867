#include "CustomPassAlertViewTQ.h"

#include "AddOnNotifications.h"
#include "PassAlertBackground.h"
#include "SavedSwipeSettings.h"

#include <foundation/Format.h>
#include <foundation/NSArray.h>
#include <foundation/NSNotificationCenter.h>
#include <foundation/NSString.h>
#include <springboard/SBApplication.h>
#include <springboard/SBApplicationController.h>
#include <springboard/SBIcon.h>
#include <uikit/UIButton.h>
#include <uikit/UIGraphics.h>
#include <uikit/UIImageView.h>
#include <uikit/UILabel.h>
#include <uikit/UIScreen.h>

namespace tweak {

using foundation::NSStr;
using runtime::RefPtr;

TORVANE_DEFINE_CLASS(CustomPassAlertViewTQ)

namespace {
CustomPassAlertViewTQ::MemoryReading& memoryReading()
{
    static CustomPassAlertViewTQ::MemoryReading reading;
    return reading;
}
}

void CustomPassAlertViewTQ::setMemoryReading(MemoryReading reading)
{
    memoryReading() = std::move(reading);
}

std::string CustomPassAlertViewTQ::memoryOf(int pid)
{
    if (memoryReading())
        return memoryReading()(pid);
    return SavedSwipeSettings::getMemUsingAndCPUWithPID(pid)->string();
}

std::string CustomPassAlertViewTQ::twoDecimals(const std::string& megabytes)
{
    return megabytes.size() > 4 ? megabytes.substr(0, megabytes.size() - 4) : std::string();
}

CustomPassAlertViewTQ::CustomPassAlertViewTQ(uikit::CGRect frame)
    : UIAlertView(frame)
{
}

CustomPassAlertViewTQ::~CustomPassAlertViewTQ() = default;

runtime::Ref<CustomPassAlertViewTQ> CustomPassAlertViewTQ::create(uikit::CGRect frame, const foundation::NSString* name,
    const foundation::NSString* identifier, int pid, const foundation::NSArray* folderIdentifiers,
    RefPtr<uikit::UIView> glowView, RefPtr<springboard::SBIcon> icon)
{
    auto alert = runtime::adoptRef(*new CustomPassAlertViewTQ(frame));
    // The token lives in the alert, so it stops observing when the alert window lets it go.
    alert->m_suicideObserver = foundation::NSNotificationCenter::defaultCenter().addObserver(AddOnNotification::closeConfirmationAlerts, nullptr,
        [self = alert.ptr()](foundation::NSNotification&) { self->commitSuicide(); });

    alert->setDelegate(alert.ptr());
    alert->setCancelButtonIndex(alert->addButtonWithTitle("Cancel"));
    alert->setTitle(name ? name->description() : std::string("(null)"));

    if (glowView && folderIdentifiers) {
        alert->m_kind = Kind::Folder;
        alert->addButtonWithTitle("Kill");
        alert->m_allIdentifiers = folderIdentifiers->copy();
        alert->m_glowView = std::move(glowView);
        int running = 0;
        float megabytes = 0;
        auto* applications = springboard::SBApplicationController::sharedInstance();
        for (auto& element : *alert->m_allIdentifiers) {
            auto* bundleIdentifier = runtime::dynamicCast<foundation::NSString>(element);
            if (!bundleIdentifier || !applications)
                continue;
            auto first = applications->applicationsWithBundleIdentifier(bundleIdentifier->string())->firstObject();
            auto* application = runtime::dynamicCast<springboard::SBApplication>(first.get());
            if (application && application->isRunning()) {
                ++running;
                megabytes += NSStr(memoryOf(application->pid()))->floatValue();
            }
        }
        alert->setMessage(foundation::format("%i Application(s) currently using %s MBs of RAM", running,
            twoDecimals(foundation::format("%f", megabytes)).c_str()));
    } else if (identifier && !icon) {
        alert->m_kind = Kind::Application;
        alert->addButtonWithTitle("Kill");
        alert->m_identifier = NSStr(identifier->string());
        alert->setMessage("Currently using " + twoDecimals(memoryOf(pid)) + " MBs of RAM");
    } else if (icon) {
        alert->m_kind = Kind::Badge;
        alert->addButtonWithTitle("Clear");
        alert->m_icon = std::move(icon);
        alert->setMessage(std::string("Would you like to remove the badge on this icon?"));
    }

    alert->show();
    return alert;
}

runtime::Ref<CustomPassAlertViewTQ> CustomPassAlertViewTQ::confirmEndingApplication(const foundation::NSString& name,
    const foundation::NSString& identifier, int pid)
{
    return create(uikit::UIScreen::mainScreen().bounds(), &name, &identifier, pid, nullptr, nullptr, nullptr);
}

runtime::Ref<CustomPassAlertViewTQ> CustomPassAlertViewTQ::confirmEndingFolder(const foundation::NSString& name,
    const foundation::NSArray& identifiers, runtime::Ref<uikit::UIView> glowView)
{
    return create(uikit::UIScreen::mainScreen().bounds(), &name, nullptr, 0, &identifiers, std::move(glowView), nullptr);
}

runtime::Ref<CustomPassAlertViewTQ> CustomPassAlertViewTQ::confirmClearingBadge(const foundation::NSString& name,
    runtime::Ref<springboard::SBIcon> icon)
{
    return create(uikit::UIScreen::mainScreen().bounds(), &name, nullptr, 0, nullptr, nullptr, std::move(icon));
}

void CustomPassAlertViewTQ::alertViewClickedButtonAtIndex(uikit::UIAlertView&, int buttonIndex)
{
    if (buttonIndex != 1)
        return;
    switch (m_kind) {
    case Kind::Badge:
        if (m_icon)
            m_icon->setBadge(nullptr);
        break;
    case Kind::Application:
        if (m_identifier)
            finallyKillTheseApps(foundation::NSArray::create({ NSStr(m_identifier->string()) }).ptr());
        break;
    case Kind::Folder:
        if (finallyKillTheseApps(m_allIdentifiers.get()) && m_glowView) {
            m_glowView->removeFromSuperview();
            m_glowView = nullptr;
        }
        break;
    case Kind::Plain:
        break;
    }
}

bool CustomPassAlertViewTQ::finallyKillTheseApps(const foundation::NSArray* bundleIdentifiers)
{
    return SavedSwipeSettings::superFinallyKillTheseApps(bundleIdentifiers);
}

void CustomPassAlertViewTQ::commitSuicide()
{
    dismissWithClickedButtonIndex(2, false);
}

void CustomPassAlertViewTQ::layoutSubviews()
{
    passalert::clearStockBackground(*this);
}

void CustomPassAlertViewTQ::drawRect(uikit::CGRect rect)
{
    passalert::drawPanel(uikit::UIGraphicsGetCurrentContext(), rect);
}

}
