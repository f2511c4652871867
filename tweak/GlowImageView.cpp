#include "GlowImageView.h"

#include "AddOnNotifications.h"
#include "SavedSwipeSettings.h"

#include <foundation/NSDictionary.h>
#include <foundation/NSMutableArray.h>
#include <foundation/NSNotificationCenter.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <graphics/GeometryText.h>
#include <springboard/SBApplication.h>
#include <springboard/SBFolder.h>
#include <springboard/SBIcon.h>
#include <springboard/SBIconView.h>
#include <uikit/NSCoding.h>

namespace tweak {

TORVANE_DEFINE_CLASS(GlowImageView)
TORVANE_ARCHIVABLE_CLASS(GlowImageView, GlowImageView::createForArchive())

using springboard::SBIconView;

namespace {

constexpr foundation::Seconds delayBeforeShowing { 0.35 };

}

GlowImageView::GlowImageView(uikit::CGRect frame)
    : UIImageView(frame)
{
}

runtime::Ref<GlowImageView> GlowImageView::createForArchive()
{
    return runtime::adoptRef(*new GlowImageView(uikit::CGRectZero));
}

runtime::Ref<GlowImageView> GlowImageView::initWithFrameWithIconIsFolder(uikit::CGRect frame, SBIconView* iconView, bool isFolder)
{
    auto indicator = runtime::adoptRef(*new GlowImageView(frame));
    indicator->m_appIcon = iconView;
    indicator->m_isFolder = isFolder;
    indicator->m_disableInDock = SavedSwipeSettings::getDisableOnDock();
    indicator->setAlpha(0);
    indicator->observeIndicatorNotifications();
    return indicator;
}

uikit::CGRect GlowImageView::themeFrame()
{
    auto frame = graphics::CGRectFromString(SavedSwipeSettings::getImageFrameAsString()->string());
    if (SavedSwipeSettings::getMoveImageAbove())
        frame.origin.y = -10;
    return frame;
}

runtime::RefPtr<uikit::UIImage> GlowImageView::themeImage()
{
    return uikit::UIImage::imageWithContentsOfFile(SavedSwipeSettings::getColorPath()->string());
}

GlowImageView* GlowImageView::indicatorOf(const SBIconView& iconView)
{
    for (auto& subview : iconView.subviews()) {
        if (subview->tag() == indicatorTag)
            return runtime::dynamicCast<GlowImageView>(subview.ptr());
    }
    return nullptr;
}

void GlowImageView::observeIndicatorNotifications()
{
    auto& center = foundation::NSNotificationCenter::defaultCenter();
    auto observe = [&](const char* name, void (GlowImageView::*handler)(const runtime::Object*)) {
        m_observers.push_back(center.addObserver(name, nullptr, [this, handler](foundation::NSNotification& notification) {
            (this->*handler)(notification.object().get());
        }));
    };
    observe(AddOnNotification::folderOpened, &GlowImageView::animateAwayForOpenFolder);
    observe(AddOnNotification::applicationStateChanged, &GlowImageView::updateVisibility);
    observe(AddOnNotification::switcherBarChanged, &GlowImageView::hideAllViewsInSwitcher);
    m_observers.push_back(center.addObserver(AddOnNotification::settingsReloaded, nullptr, [this](foundation::NSNotification&) {
        settingsUpdatedSoUpdateImage();
    }));
}

std::string GlowImageView::leafIdentifier() const
{
    auto* view = m_appIcon.get();
    auto* icon = view ? view->icon() : nullptr;
    return icon ? icon->leafIdentifier() : std::string();
}

void GlowImageView::show()
{
    setAlpha(SavedSwipeSettings::getOpacityFloatValue());
}

bool GlowImageView::canShowImageView() const
{
    auto* view = m_appIcon.get();
    if (m_switcherVisible || !view)
        return false;
    if (view->isGhostly())
        return false;
    if (m_disableInDock && view->isInDock())
        return false;
    if (m_isFolder)
        return checkIfFolderHasOpenApp();
    if (!view->icon())
        return false;
    return !SavedSwipeSettings::isThisAppDisabled(foundation::NSString::create(leafIdentifier()).ptr());
}

bool GlowImageView::checkIfFolderHasOpenApp() const
{
    auto* view = m_appIcon.get();
    auto* icon = view ? view->icon() : nullptr;
    auto* folder = icon ? icon->folder() : nullptr;
    if (!folder)
        return false;
    auto running = SavedSwipeSettings::getFolderArray();
    for (auto& element : *running) {
        auto* identifier = runtime::dynamicCast<foundation::NSString>(element.ptr());
        if (identifier ? folder->containsNodeIdentifier(identifier->string()) : folder->containsNodeIdentifier(element->description()))
            return true;
    }
    return false;
}

void GlowImageView::checkAndUpdateAlpha()
{
    auto* view = m_appIcon.get();
    auto* icon = view ? view->icon() : nullptr;
    auto* application = icon ? icon->application() : nullptr;
    bool running = m_isFolder || (application && application->isRunning());
    if (running && canShowImageView())
        show();
    else
        hide();
}

void GlowImageView::makeVisibleAfterDelay()
{
    if (canShowImageView() && !m_switcherVisible)
        show();
}

void GlowImageView::setSwitcherIsVisible(bool visible)
{
    m_switcherVisible = visible;
    if (visible)
        hide();
}

void GlowImageView::hideAllViewsInSwitcher(const runtime::Object* showing)
{
    auto* number = runtime::dynamicCast<foundation::NSNumber>(showing);
    if (number && number->boolValue()) {
        m_switcherVisible = true;
        hide();
        return;
    }
    m_switcherVisible = false;
    checkAndUpdateAlpha();
}

void GlowImageView::reloadImageInfoWithNewIconView(SBIconView* iconView)
{
    if (iconView && iconView != m_appIcon.get())
        m_appIcon = iconView;
    auto* view = m_appIcon.get();
    if (m_switcherVisible || (view && view->isGhostly()))
        hide();
    else
        checkAndUpdateAlpha();
}

void GlowImageView::settingsUpdatedSoUpdateImage()
{
    setFrame(themeFrame());
    setImage(themeImage());
    m_disableInDock = SavedSwipeSettings::getDisableOnDock();
    checkAndUpdateAlpha();
}

void GlowImageView::updateVisibility(const runtime::Object* change)
{
    auto* userInfo = runtime::dynamicCast<foundation::NSDictionary>(change);
    if (!userInfo)
        return;
    if (!m_isFolder) {
        // Every indicator hears every start and end: the identifiers are compared in place.
        auto bundleIdentifier = userInfo->objectForKey(AddOnNotification::bundleIdentifierKey);
        auto* text = runtime::dynamicCast<foundation::NSString>(bundleIdentifier.get());
        std::string described = !text && bundleIdentifier ? bundleIdentifier->description() : std::string();
        std::string_view identifier = text ? std::string_view(text->string()) : std::string_view(described);
        auto* view = m_appIcon.get();
        auto* icon = view ? view->icon() : nullptr;
        if (icon ? !icon->hasLeafIdentifier(identifier) : !identifier.empty())
            return;
        auto fadeIn = runtime::dynamicCast<foundation::NSNumber>(userInfo->objectForKey(AddOnNotification::fadeInKey));
        if (!fadeIn || !fadeIn->boolValue()) {
            // A show still pending from a start moments ago must not bring back an ended application.
            m_delayedShow.cancel();
            hide();
            return;
        }
    }
    if (!canShowImageView()) {
        hide();
        return;
    }
    m_delayedShow = foundation::ScheduledCall::afterDelay(delayBeforeShowing, [this] { makeVisibleAfterDelay(); });
}

void GlowImageView::animateAwayForOpenFolder(const runtime::Object* object)
{
    auto* opened = runtime::dynamicCast<springboard::SBFolder>(object);
    if (!opened)
        return;
    auto* view = m_appIcon.get();
    auto* icon = view ? view->icon() : nullptr;
    if (!icon)
        return;
    if (m_isFolder) {
        if (icon->folder() != opened)
            hide();
        return;
    }
    if (!opened->containsNodeIdentifier(icon->leafIdentifier()))
        hide();
}

}
