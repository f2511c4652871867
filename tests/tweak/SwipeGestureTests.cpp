#include "TweakTestSupport.h"

#include <AddOnNotifications.h>
#include <CustomPassAlertViewTQ.h>
#include <GlowImageView.h>
#include <Hooks.h>
#include <SavedSwipeSettings.h>
#include <SwitcherBarState.h>

#include <foundation/NSNotificationCenter.h>
#include <foundation/NSSet.h>
#include <graphics/ImageCompare.h>
#include <springboard/SBAppSwitcherController.h>
#include <springboard/SBApplicationController.h>
#include <springboard/SBApplicationIcon.h>
#include <springboard/SBIconController.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconView.h>
#include <springboard/SBIconViewMap.h>
#include <uikit/UITouch.h>
#include <uikit/UIWindow.h>
#include <uikit/ViewRendering.h>

using namespace tweak_test;
using namespace springboard;
using tweak::CustomPassAlertViewTQ;

namespace {

// A SpringBoard in this process with the hooks on; icon views sit in a window so touches reach them
// as a finger's would. Running applications get the add-on's indicator from the hooked map (a bare
// indicator of alpha 1 where the map gave none). Memory figures come from m_memory by process id.
class Swipes : public DeviceTest {
protected:
    static void SetUpTestSuite() { tweak::installHooks(); }
    void SetUp() override
    {
        DeviceTest::SetUp();
        m_apps = SBApplicationController::create();
        SBApplicationController::setSharedInstance(m_apps);
        for (auto [identifier, name] : { std::pair { "com.apple.mobilesafari", "Safari" }, { "com.apple.camera", "Camera" }, { "com.apple.mobilenotes", "Notes" } })
            m_model->addApplicationIconToPage(SBApplicationIcon::create(m_apps->addApplication(identifier, name)), 0);
        SBIconViewMap::setSharedMaps(m_home, SBIconViewMap::create(SBIconViewMap::Kind::Switcher, m_model));
        SBAppSwitcherController::setSharedInstance(m_switcher);
        SBIconController::setSharedInstance(m_icons);
        CustomPassAlertViewTQ::setMemoryReading([this](int pid) { return m_memory.count(pid) ? m_memory[pid] : "0.000000"; });
        settings({});
    }
    void TearDown() override
    {
        closeAlerts();
        CustomPassAlertViewTQ::setMemoryReading(nullptr);
        tweak::setSwitcherBarIsShowing(false);
        SBIconController::setSharedInstance(nullptr), SBAppSwitcherController::setSharedInstance(nullptr);
        SBIconViewMap::setSharedMaps(nullptr, nullptr), SBApplicationController::setSharedInstance(nullptr);
        DeviceTest::TearDown();
    }
    // Confirmation, the switcher bar and the badge alert on, default sensitivity, unless overridden.
    void settings(Entries overrides)
    {
        auto preferences = dictionary({ { "ConfirmationAlertAtHome", boolean(true) }, { "DashmereOnAppSwitcher", boolean(true) },
            { "ClearBadgeEnabled", boolean(true) }, { "AlertToClearBadge", boolean(true) } });
        for (auto& [key, value] : overrides)
            preferences->setObjectForKey(value, key);
        writePreferences(*preferences);
        tweak::SavedSwipeSettings::loadReloadAllDMRSettings();
    }
    SBApplication& app(const char* identifier) { return *m_apps->applicationWithBundleIdentifier(identifier); }
    bool running(const char* identifier) { return app(identifier).isRunning(); }
    void run(const char* identifier, int pid = 0)
    {
        app(identifier).setPid(pid);
        app(identifier).setApplicationState(SBApplicationStateBackground);
        m_switcher->applicationDidActivate(app(identifier));
        addIndicator(view(identifier));
    }
    // The add-on's own indicator when the map gave the view one; a stand-in of alpha 1 otherwise.
    static void addIndicator(SBIconView& iconView)
    {
        if (tweak::GlowImageView::indicatorOf(iconView))
            return;
        auto indicator = tweak::GlowImageView::createForArchive();
        indicator->setTag(tweak::GlowImageView::indicatorTag);
        indicator->setAlpha(1);
        iconView.insertSubviewAtIndex(std::move(indicator), 0);
    }
    SBIconView& view(const char* identifier)
    {
        auto* iconView = m_home->mappedIconViewForIcon(m_model->applicationIconForDisplayIdentifier(identifier));
        m_window->addSubview(*iconView);
        return *iconView;
    }
    SBIcon& icon(const char* identifier) { return *view(identifier).icon(); }
    bool tap(const char* button) { return uikit::UIAlertView::tapButtonWithTitle(button); }
    // One touch: began at (30, 30), then moved by each (dx, dy) in turn (a negative dy is up).
    void swipe(const char* identifier, std::vector<uikit::CGPoint> moves) { swipe(view(identifier), std::move(moves)); }
    void swipe(SBIconView& iconView, std::vector<uikit::CGPoint> moves)
    {
        auto touch = uikit::UITouch::create(*m_window, &iconView, { 30, 30 });
        auto touches = foundation::NSSet::create({ touch });
        iconView.touchesBegan(*touches, nullptr);
        for (auto move : moves) {
            touch->update(uikit::UITouchPhaseMoved, { 30 + move.x, 30 + move.y });
            iconView.touchesMoved(*touches, nullptr);
        }
    }
    void swipe(const char* identifier, float dx, float dy) { swipe(identifier, std::vector<uikit::CGPoint> { { dx, dy } }); }
    static void closeAlerts()
    {
        for (auto& alert : uikit::UIAlertView::visibleAlerts())
            alert->dismissWithClickedButtonIndex(-1, false);
    }
    size_t alertCount() { return uikit::UIAlertView::visibleAlerts().size(); }
    const CustomPassAlertViewTQ& topAlert() { return static_cast<CustomPassAlertViewTQ&>(uikit::UIAlertView::visibleAlerts().back().get()); }

    std::map<int, std::string> m_memory;
    runtime::Ref<SBIconModel> m_model = SBIconModel::create();
    runtime::Ref<SBIconViewMap> m_home = SBIconViewMap::create(SBIconViewMap::Kind::HomeScreen, m_model);
    runtime::RefPtr<SBApplicationController> m_apps;
    runtime::Ref<SBAppSwitcherController> m_switcher = SBAppSwitcherController::create();
    runtime::Ref<SBIconController> m_icons = SBIconController::create();
    runtime::Ref<uikit::UIWindow> m_window = uikit::UIWindow::create({ { 0, 0 }, { 320, 480 } });
};

}

TEST_F(Swipes, WindowsOfBothSensitivitiesAtTheirEdges)
{
    run("com.apple.mobilesafari");
    icon("com.apple.camera").setBadgeValue(2);
    struct Case {
        bool lower;
        const char* target;
        float dx, dy;
        bool asks;
    };
    for (Case move : std::initializer_list<Case> { { false, "com.apple.mobilesafari", 5, -1, true }, { false, "com.apple.mobilesafari", 6, -1, false },
             { false, "com.apple.mobilesafari", -6, -1, true }, { false, "com.apple.mobilesafari", -6.5f, -1, false },
             { false, "com.apple.camera", 0, 5, true }, { false, "com.apple.camera", 0, 4, false },
             { true, "com.apple.mobilesafari", -3.5f, -8, true }, { true, "com.apple.mobilesafari", 3, -8, false },
             { true, "com.apple.mobilesafari", -4, -8, false }, { true, "com.apple.mobilesafari", 0, -7, false },
             { true, "com.apple.camera", 0, 8, true }, { true, "com.apple.camera", 0, 7, false } }) {
        settings({ { "LowerSensitivity", boolean(move.lower) } });
        swipe(move.target, move.dx, move.dy);
        EXPECT_EQ(alertCount(), move.asks ? 1u : 0u) << move.target << " lower " << move.lower << " dx " << move.dx << " dy " << move.dy;
        closeAlerts();
    }
}

TEST_F(Swipes, SwitcherBarEndsEvenADisabledApplicationAtOnceAndOnlyOncePerTouch)
{
    settings({ { "DisableTheseApps", strings({ "com.apple.mobilesafari" }) } });
    run("com.apple.mobilesafari");
    tweak::setSwitcherBarIsShowing(true);
    swipe("com.apple.mobilesafari", 0, -5);
    EXPECT_TRUE(running("com.apple.mobilesafari")) << "the bar needs more than 5 points";
    // The first qualifying move ends it; the later ones of the same touch must not act again.
    swipe("com.apple.mobilesafari", { { 0, -6 }, { 0, -7 }, { 0, -8 } });
    EXPECT_FALSE(running("com.apple.mobilesafari"));
    EXPECT_EQ(alertCount(), 0u);

    settings({ { "DashmereOnAppSwitcher", boolean(false) } });
    run("com.apple.camera");
    swipe("com.apple.camera", 0, -20);
    EXPECT_TRUE(running("com.apple.camera"));
}

TEST_F(Swipes, HomeScreenActsOnlyOnVisibleIndicatorsOfEnabledAppsAndNotWhileEditing)
{
    settings({ { "ConfirmationAlertAtHome", boolean(false) }, { "AlertToClearBadge", boolean(false) },
        { "DisableTheseApps", strings({ "com.apple.camera" }) } });
    run("com.apple.camera");
    run("com.apple.mobilenotes");
    // A dimmed icon shows no indicator, so its application is left alone.
    view("com.apple.mobilenotes").setGhostly(true);
    run("com.apple.mobilesafari");
    icon("com.apple.mobilesafari").setBadgeValue(4);
    m_icons->setIsEditing(true);
    for (auto* identifier : { "com.apple.mobilesafari", "com.apple.camera", "com.apple.mobilenotes" })
        swipe(identifier, 0, -10);
    swipe("com.apple.mobilesafari", 0, 10);
    EXPECT_TRUE(running("com.apple.mobilesafari"));
    EXPECT_EQ(icon("com.apple.mobilesafari").badgeValue(), 4);

    m_icons->setIsEditing(false);
    for (auto* identifier : { "com.apple.mobilesafari", "com.apple.camera", "com.apple.mobilenotes" })
        swipe(identifier, 0, -10);
    EXPECT_FALSE(running("com.apple.mobilesafari")) << "without confirmation it ends at once";
    EXPECT_TRUE(running("com.apple.camera")) << "disabled";
    EXPECT_TRUE(running("com.apple.mobilenotes")) << "indicator hidden";
    // The badge swipe needs no indicator, so the application that just ended loses its badge too.
    swipe("com.apple.mobilesafari", 0, 10);
    EXPECT_EQ(icon("com.apple.mobilesafari").badgeValue(), 0);
    EXPECT_EQ(alertCount(), 0u);
}

TEST_F(Swipes, ALongSwipeOpensOneAlertStatingTheMemoryCutNotRounded)
{
    run("com.apple.mobilesafari", 4242);
    m_memory = { { 4242, "3.141590" } };
    swipe("com.apple.mobilesafari", { { 0, -1 }, { 0, -10 }, { 0, -20 }, { 0, -30 } });
    ASSERT_EQ(alertCount(), 1u);
    EXPECT_EQ(topAlert().title(), "Safari");
    EXPECT_EQ(topAlert().message(), "Currently using 3.14 MBs of RAM");
    m_memory = { { 4242, "8.999999" } };
    swipe("com.apple.mobilesafari", 0, -2);
    ASSERT_EQ(alertCount(), 2u) << "the next touch asks again";
    EXPECT_EQ(topAlert().message(), "Currently using 8.99 MBs of RAM");

    // Locking (or an application coming to the front) closes both without ending anything.
    foundation::NSNotificationCenter::defaultCenter().postNotificationName(tweak::AddOnNotification::closeConfirmationAlerts);
    EXPECT_EQ(alertCount(), 0u);
    EXPECT_TRUE(running("com.apple.mobilesafari"));
    swipe("com.apple.mobilesafari", 0, -2);
    ASSERT_TRUE(tap("Kill"));
    EXPECT_FALSE(running("com.apple.mobilesafari"));
}

TEST_F(Swipes, BadgeAlertClearsOnClearOnly)
{
    icon("com.apple.camera").setBadgeValue(3);
    swipe("com.apple.camera", 0, 6);
    EXPECT_EQ(topAlert().message(), "Would you like to remove the badge on this icon?");
    ASSERT_TRUE(tap("Cancel"));
    EXPECT_EQ(icon("com.apple.camera").badgeValue(), 3);
    swipe("com.apple.camera", 0, 6);
    ASSERT_TRUE(tap("Clear"));
    EXPECT_EQ(icon("com.apple.camera").badgeValue(), 0);
}

// A first move the wrong way finds nothing to do and must not use up the touch: the swipe that
// follows in the same touch still acts, measured from where the touch began.
TEST_F(Swipes, AnAttemptThatDoesNothingLeavesTheTouchFree)
{
    settings({ { "AlertToClearBadge", boolean(false) } });
    icon("com.apple.camera").setBadgeValue(3);
    swipe("com.apple.camera", { { 0, -2 }, { 0, 6 } });
    EXPECT_EQ(icon("com.apple.camera").badgeValue(), 0) << "a twitch up on an idle application, then down";

    run("com.apple.mobilesafari");
    swipe("com.apple.mobilesafari", { { 0, 5 }, { 0, -3 } });
    EXPECT_EQ(alertCount(), 1u) << "a dip on an icon without a badge, then a rise";
    closeAlerts();

    // An attempt that acted still spends the touch: the rise after a badge alert opens no second one.
    settings({ { "AlertToClearBadge", boolean(true) } });
    icon("com.apple.mobilesafari").setBadgeValue(1);
    swipe("com.apple.mobilesafari", { { 0, 5 }, { 0, -3 } });
    ASSERT_EQ(alertCount(), 1u);
    EXPECT_EQ(topAlert().message(), "Would you like to remove the badge on this icon?");
}

// Dark rounded panel, grey rim and the gloss over the title, under the stock title, message and
// buttons; the stock blue-grey image is gone.
TEST_F(Swipes, AlertPanelMatchesItsReference)
{
    run("com.apple.mobilesafari");
    swipe("com.apple.mobilesafari", 0, -2);
    auto& alert = uikit::UIAlertView::visibleAlerts().back().get();
    alert.layoutIfNeeded();
    auto check = graphics::checkAgainstReference(uikit::renderViewToImage(alert, 2),
        std::filesystem::path(TORVANE_TWEAK_REFERENCES) / "KillAlertPanel.png");
    EXPECT_TRUE(check.passed) << check.message;
}

TEST_F(Swipes, FolderSwipeAsksAboutItsEnabledRunningApplicationsOnlyAndKillEndsThem)
{
    settings({ { "DisableTheseApps", strings({ "com.apple.mobilecal" }) } });
    auto* folder = m_model->addFolderToPage("Tools", 0);
    // Two enabled and running, one disabled, one never ended, one enabled but never started, and one
    // that ran and has quit.
    for (auto [identifier, pid] : { std::pair { "com.apple.Maps", 21 }, { "com.apple.mobiletimer", 22 }, { "com.apple.mobilecal", 23 },
             { "com.apple.mobilephone", 24 }, { "com.apple.compass", 25 }, { "com.apple.stocks", 26 } }) {
        m_model->addApplicationIconToFolder(SBApplicationIcon::create(m_apps->addApplication(identifier, identifier)), "Tools");
        if (pid != 25)
            run(identifier, pid);
        app(identifier).setPid(pid);
    }
    app("com.apple.stocks").setApplicationState(SBApplicationStateStopped);
    m_memory = { { 21, "10.500000" }, { 22, "2.250000" }, { 23, "40.000000" }, { 24, "40.000000" }, { 25, "40.000000" },
        { 26, "40.000000" } };
    auto& folderView = *m_home->mappedIconViewForIcon(folder->icon());
    m_window->addSubview(folderView);
    addIndicator(folderView);
    // A fresh indicator shows at its next check: the next mapping of its view.
    m_home->mappedIconViewForIcon(folder->icon());
    swipe(folderView, { { 0, -10 } });

    ASSERT_EQ(alertCount(), 1u);
    EXPECT_EQ(topAlert().title(), "Tools");
    EXPECT_EQ(topAlert().message(), "2 Application(s) currently using 12.75 MBs of RAM");
    ASSERT_TRUE(tap("Kill"));
    EXPECT_FALSE(running("com.apple.Maps"));
    EXPECT_FALSE(running("com.apple.mobiletimer"));
    EXPECT_TRUE(running("com.apple.mobilecal"));
    EXPECT_TRUE(running("com.apple.mobilephone"));
    EXPECT_EQ(tweak::GlowImageView::indicatorOf(folderView), nullptr) << "an ended folder loses its indicator";
}
