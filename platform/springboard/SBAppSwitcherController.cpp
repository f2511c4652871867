#include <springboard/SBAppSwitcherController.h>

#include <springboard/SBAppSwitcherBarView.h>
#include <springboard/SBApplication.h>
#include <springboard/SBApplicationController.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconView.h>
#include <springboard/SBIconViewMap.h>

#include <algorithm>

namespace springboard {

TORVANE_DEFINE_CLASS(SBAppSwitcherController)

namespace {
runtime::RefPtr<SBAppSwitcherController>& shared()
{
    static runtime::RefPtr<SBAppSwitcherController> controller;
    return controller;
}
}

runtime::Ref<SBAppSwitcherController> SBAppSwitcherController::create()
{
    return runtime::adoptRef(*new SBAppSwitcherController);
}

SBAppSwitcherController::SBAppSwitcherController()
    : m_barView(SBAppSwitcherBarView::create())
{
}

SBAppSwitcherController* SBAppSwitcherController::sharedInstance() { return shared().get(); }
void SBAppSwitcherController::setSharedInstance(runtime::RefPtr<SBAppSwitcherController> controller) { shared() = std::move(controller); }

std::vector<runtime::Ref<SBIcon>> SBAppSwitcherController::icons() const
{
    std::vector<runtime::Ref<SBIcon>> result;
    auto* map = SBIconViewMap::switcherMap();
    if (!map)
        return result;
    for (auto& application : m_applications) {
        if (auto* icon = map->iconModel()->applicationIconForDisplayIdentifier(application->bundleIdentifier()))
            result.push_back(*icon);
    }
    return result;
}

void SBAppSwitcherController::applicationDidActivate(SBApplication& application)
{
    runtime::Ref<SBApplication> protector(application);
    std::erase_if(m_applications, [&](auto& entry) { return entry.ptr() == &application; });
    m_applications.insert(m_applications.begin(), application);
    layoutBar();
}

void SBAppSwitcherController::applicationDidStop(SBApplication& application)
{
    runtime::Ref<SBApplication> protector(application);
    auto before = m_applications.size();
    std::erase_if(m_applications, [&](auto& entry) { return entry.ptr() == &application; });
    if (before == m_applications.size())
        return;
    if (auto* map = SBIconViewMap::switcherMap()) {
        if (auto* icon = map->iconModel()->applicationIconForDisplayIdentifier(application.bundleIdentifier())) {
            if (auto* view = map->iconViewForIcon(icon))
                view->removeFromSuperview();
            map->purgeIconView(icon);
        }
    }
    layoutBar();
}

void SBAppSwitcherController::iconCloseBoxTapped(SBIconView* iconView)
{
    if (!iconView || !iconView->icon())
        return;
    runtime::Ref<SBIconView> protector(*iconView);
    iconView->removeFromSuperview();
    auto* application = iconView->icon()->application();
    auto* controller = SBApplicationController::sharedInstance();
    if (!application || !controller)
        return;
    controller->terminateApplication(*application);
}

void SBAppSwitcherController::layoutBar()
{
    auto* map = SBIconViewMap::switcherMap();
    if (!map)
        return;
    std::vector<SBIconView*> views;
    for (auto& icon : icons()) {
        if (auto* view = map->mappedIconViewForIcon(icon.ptr()))
            views.push_back(view);
    }
    m_barView->setIconViews(views);
}

}
