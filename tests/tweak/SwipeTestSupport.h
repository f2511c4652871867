#pragma once

// A SpringBoard built in this process for the gesture and alert tests: a few applications on the
// home screen, the two icon-view maps, the switcher bar and the icon controller, the hooks on, and a
// window holding the home-screen icon views so touches can be delivered to them as a finger would.
// Running applications get a tag-567 subview of alpha 1, standing in for their indicator.

#include "TweakTestSupport.h"

#include <CustomPassAlertViewTQ.h>
#include <Hooks.h>
#include <SavedSwipeSettings.h>
#include <SwitcherBarState.h>

#include <foundation/NSSet.h>
#include <springboard/SBAppSwitcherController.h>
#include <springboard/SBApplication.h>
#include <springboard/SBApplicationController.h>
#include <springboard/SBApplicationIcon.h>
#include <springboard/SBIconController.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconView.h>
#include <springboard/SBIconViewMap.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIScreen.h>
#include <uikit/UITouch.h>
#include <uikit/UIWindow.h>

#include <map>
#include <string>
#include <vector>

namespace tweak_test {

class SwipeTest : public DeviceTest {
protected:
    static void SetUpTestSuite() { tweak::installHooks(); }

    void SetUp() override
    {
        DeviceTest::SetUp();
        using namespace springboard;
        m_model = SBIconModel::create();
        m_applications = SBApplicationController::create();
        SBApplicationController::setSharedInstance(m_applications);
        for (auto [identifier, name] : std::vector<std::pair<const char*, const char*>> { { "com.apple.mobilesafari", "Safari" },
                 { "com.apple.camera", "Camera" }, { "com.apple.mobilenotes", "Notes" }, { "com.apple.mobilephone", "Phone" } })
            m_model->addApplicationIconToPage(SBApplicationIcon::create(m_applications->addApplication(identifier, name)), 0);
        m_homeMap = SBIconViewMap::create(SBIconViewMap::Kind::HomeScreen, *m_model);
        SBIconViewMap::setSharedMaps(m_homeMap, SBIconViewMap::create(SBIconViewMap::Kind::Switcher, *m_model));
        m_switcher = SBAppSwitcherController::create();
        SBAppSwitcherController::setSharedInstance(m_switcher);
        m_iconController = SBIconController::create();
        SBIconController::setSharedInstance(m_iconController);
        m_window = uikit::UIWindow::create({ { 0, 0 }, { 320, 480 } });
        tweak::setSwitcherBarShowing(false);
        tweak::CustomPassAlertViewTQ::setMemoryReading([this](int pid) {
            auto found = m_memory.find(pid);
            return found == m_memory.end() ? std::string("0.000000") : found->second;
        });
        settings({});
    }
    void TearDown() override
    {
        closeAlerts();
        tweak::CustomPassAlertViewTQ::setMemoryReading(nullptr);
        tweak::setSwitcherBarShowing(false);
        springboard::SBIconController::setSharedInstance(nullptr);
        springboard::SBAppSwitcherController::setSharedInstance(nullptr);
        springboard::SBIconViewMap::setSharedMaps(nullptr, nullptr);
        springboard::SBApplicationController::setSharedInstance(nullptr);
        DeviceTest::TearDown();
    }

    static void closeAlerts()
    {
        for (auto& alert : uikit::UIAlertView::visibleAlerts()) {
            alert->setDelegate(nullptr);
            alert->dismissWithClickedButtonIndex(-1, false);
        }
    }

    // Confirmation, the switcher bar and badge clearing on with the badge alert, default
    // sensitivity; `overrides` replaces any of them.
    void settings(Entries overrides)
    {
        auto preferences = dictionary({ { "ConfirmationAlertAtHome", boolean(true) }, { "DashmereOnAppSwitcher", boolean(true) },
            { "ClearBadgeEnabled", boolean(true) }, { "AlertToClearBadge", boolean(true) }, { "LowerSensitivity", boolean(false) } });
        for (auto& [key, value] : overrides)
            preferences->setObjectForKey(value, key);
        writePreferences(*preferences);
        tweak::SavedSwipeSettings::loadReloadAllDMRSettings();
    }

    springboard::SBApplication& application(const char* identifier) { return *m_applications->applicationWithBundleIdentifier(identifier); }

    // Runs the application (in the switcher bar, with pid `pid`) and gives its icon view an indicator.
    void run(const char* identifier, int pid = 0)
    {
        auto& running = application(identifier);
        running.setPid(pid);
        running.setApplicationState(springboard::SBApplicationStateBackground);
        m_switcher->applicationDidActivate(running);
        auto indicator = uikit::UIView::create({ { 0, 0 }, { 59, 59 } });
        indicator->setTag(567);
        iconView(identifier).addSubview(indicator);
    }
    bool isRunning(const char* identifier) { return application(identifier).applicationState() >= 2; }

    springboard::SBIconView& iconView(const char* identifier)
    {
        auto* icon = m_model->applicationIconForDisplayIdentifier(identifier);
        auto* view = m_homeMap->mappedIconViewForIcon(icon);
        if (!view->superview()) {
            view->setFrame({ { 100, 100 }, springboard::SBIconView::viewSize });
            m_window->addSubview(*view);
        }
        return *view;
    }

    // A finger put down at the middle of the icon and moved by each (dx, dy) in turn; y grows
    // downwards, so a negative dy moves up.
    void swipe(const char* identifier, std::vector<uikit::CGPoint> moves)
    {
        auto& view = iconView(identifier);
        uikit::CGPoint start { 130, 130 };
        auto touch = uikit::UITouch::create(*m_window, &view, start);
        auto touches = foundation::NSSet::create({ touch });
        view.touchesBegan(*touches, nullptr);
        for (auto move : moves) {
            touch->update(uikit::UITouchPhaseMoved, { start.x + move.x, start.y + move.y });
            view.touchesMoved(*touches, nullptr);
        }
    }
    void swipe(const char* identifier, uikit::CGFloat dx, uikit::CGFloat dy) { swipe(identifier, std::vector<uikit::CGPoint> { { dx, dy } }); }

    std::vector<tweak::CustomPassAlertViewTQ*> alerts()
    {
        std::vector<tweak::CustomPassAlertViewTQ*> shown;
        for (auto& alert : uikit::UIAlertView::visibleAlerts()) {
            if (auto* ours = runtime::dynamicCast<tweak::CustomPassAlertViewTQ>(alert.ptr()))
                shown.push_back(ours);
        }
        return shown;
    }

    std::map<int, std::string> m_memory;
    runtime::RefPtr<springboard::SBIconModel> m_model;
    runtime::RefPtr<springboard::SBApplicationController> m_applications;
    runtime::RefPtr<springboard::SBIconViewMap> m_homeMap;
    runtime::RefPtr<springboard::SBAppSwitcherController> m_switcher;
    runtime::RefPtr<springboard::SBIconController> m_iconController;
    runtime::RefPtr<uikit::UIWindow> m_window;
};

}
