#include "SwipeTestSupport.h"

#include <foundation/NSNumber.h>

using namespace tweak_test;
using tweak::CustomPassAlertViewTQ;
using Kind = CustomPassAlertViewTQ::Kind;

namespace {

using SwipeGestures = SwipeTest;

struct Move {
    uikit::CGFloat dx, dy;
    bool acts;
};

}

TEST_F(SwipeGestures, DefaultSensitivityWindowsAtTheirEdges)
{
    run("com.apple.mobilesafari");
    iconView("com.apple.camera").icon()->setBadgeValue(2);

    // Up: any rise inside -6 <= dx < 6.
    for (Move move : { Move { 5, -1, true }, Move { 6, -1, false }, Move { -6, -1, true }, Move { -6.5f, -1, false }, Move { 0, 0, false } }) {
        swipe("com.apple.mobilesafari", move.dx, move.dy);
        EXPECT_EQ(alerts().size(), move.acts ? 1u : 0u) << "kill, dx " << move.dx << " dy " << move.dy;
        closeAlerts();
    }
    // Down: more than 4 points.
    for (Move move : { Move { 0, 5, true }, Move { 0, 4, false }, Move { 5.5f, 5, true }, Move { 6, 5, false } }) {
        swipe("com.apple.camera", move.dx, move.dy);
        auto shown = alerts();
        EXPECT_EQ(shown.size(), move.acts ? 1u : 0u) << "badge, dx " << move.dx << " dy " << move.dy;
        if (!shown.empty())
            EXPECT_EQ(shown[0]->kind(), Kind::Badge);
        closeAlerts();
    }
}

TEST_F(SwipeGestures, LowerSensitivityNeedsLongerMovesInANarrowerLopsidedWindow)
{
    settings({ { "LowerSensitivity", boolean(true) } });
    run("com.apple.mobilesafari");
    iconView("com.apple.camera").icon()->setBadgeValue(2);

    for (Move move : { Move { -3.5f, -8, true }, Move { 2.5f, -8, true }, Move { 3, -8, false }, Move { -4, -8, false }, Move { 0, -7, false } }) {
        swipe("com.apple.mobilesafari", move.dx, move.dy);
        EXPECT_EQ(alerts().size(), move.acts ? 1u : 0u) << "kill, dx " << move.dx << " dy " << move.dy;
        closeAlerts();
    }
    for (Move move : { Move { 0, 8, true }, Move { 0, 7, false }, Move { -4, 8, false } }) {
        swipe("com.apple.camera", move.dx, move.dy);
        EXPECT_EQ(alerts().size(), move.acts ? 1u : 0u) << "badge, dx " << move.dx << " dy " << move.dy;
        closeAlerts();
    }
}

TEST_F(SwipeGestures, SwitcherBarEndsEvenADisabledApplicationWithoutAsking)
{
    settings({ { "DisableTheseApps", strings({ "com.apple.mobilesafari" }) } });
    run("com.apple.mobilesafari");
    tweak::setSwitcherBarShowing(true);

    swipe("com.apple.mobilesafari", 0, -5);
    EXPECT_TRUE(isRunning("com.apple.mobilesafari")) << "the bar needs more than 5 points";

    swipe("com.apple.mobilesafari", 0, -6);
    EXPECT_FALSE(isRunning("com.apple.mobilesafari"));
    EXPECT_TRUE(alerts().empty());

    // Off in the switcher bar: nothing, not even with a running, enabled application.
    settings({ { "DashmereOnAppSwitcher", boolean(false) } });
    run("com.apple.camera");
    swipe("com.apple.camera", 0, -20);
    EXPECT_TRUE(isRunning("com.apple.camera"));
    EXPECT_TRUE(alerts().empty());
}

TEST_F(SwipeGestures, WithoutConfirmationARunningApplicationEndsAtOnceAndADisabledOneStays)
{
    settings({ { "ConfirmationAlertAtHome", boolean(false) }, { "DisableTheseApps", strings({ "com.apple.camera" }) } });
    run("com.apple.mobilesafari");
    run("com.apple.camera");

    swipe("com.apple.mobilesafari", 0, -10);
    swipe("com.apple.camera", 0, -10);

    EXPECT_FALSE(isRunning("com.apple.mobilesafari"));
    EXPECT_TRUE(isRunning("com.apple.camera"));
    EXPECT_TRUE(alerts().empty());
}

TEST_F(SwipeGestures, OnlyAVisibleIndicatorLetsTheHomeScreenSwipeAct)
{
    settings({ { "ConfirmationAlertAtHome", boolean(false) } });
    // Running but without an indicator (as under DisableOnDock), and running with a hidden one.
    application("com.apple.mobilenotes").setApplicationState(springboard::SBApplicationStateBackground);
    m_switcher->applicationDidActivate(application("com.apple.mobilenotes"));
    run("com.apple.camera");
    iconView("com.apple.camera").viewWithTag(567)->setAlpha(0);

    swipe("com.apple.mobilenotes", 0, -10);
    swipe("com.apple.camera", 0, -10);
    EXPECT_TRUE(isRunning("com.apple.mobilenotes"));
    EXPECT_TRUE(isRunning("com.apple.camera"));
}

TEST_F(SwipeGestures, EditingIconsStopsBothAttempts)
{
    settings({ { "ConfirmationAlertAtHome", boolean(false) }, { "AlertToClearBadge", boolean(false) } });
    run("com.apple.mobilesafari");
    auto* camera = iconView("com.apple.camera").icon();
    camera->setBadgeValue(4);
    m_iconController->setIsEditing(true);

    swipe("com.apple.mobilesafari", 0, -10);
    swipe("com.apple.camera", 0, 10);
    EXPECT_TRUE(isRunning("com.apple.mobilesafari"));
    EXPECT_EQ(camera->badgeValue(), 4);

    m_iconController->setIsEditing(false);
    swipe("com.apple.mobilesafari", 0, -10);
    swipe("com.apple.camera", 0, 10);
    EXPECT_FALSE(isRunning("com.apple.mobilesafari"));
    EXPECT_EQ(camera->badgeValue(), 0);
}

TEST_F(SwipeGestures, ALongSwipeAttemptsOnceAndTheNextTouchAgain)
{
    run("com.apple.mobilesafari");
    std::vector<uikit::CGPoint> long_swipe;
    for (int step = 1; step <= 30; ++step)
        long_swipe.push_back({ 0, static_cast<uikit::CGFloat>(-step) });

    swipe("com.apple.mobilesafari", long_swipe);
    EXPECT_EQ(alerts().size(), 1u);
    swipe("com.apple.mobilesafari", long_swipe);
    EXPECT_EQ(alerts().size(), 2u);

    // In the switcher bar the first qualifying move ends it; the rest of the swipe does nothing more.
    closeAlerts();
    run("com.apple.camera");
    tweak::setSwitcherBarShowing(true);
    swipe("com.apple.camera", long_swipe);
    EXPECT_FALSE(isRunning("com.apple.camera"));
}

TEST_F(SwipeGestures, BadgeSwipeWorksOnAnyBadgedIconButNotInTheSwitcherBar)
{
    // Not running, no indicator: the badge swipe does not care.
    auto* notes = iconView("com.apple.mobilenotes").icon();
    notes->setBadgeValue(7);

    settings({ { "ClearBadgeEnabled", boolean(false) }, { "AlertToClearBadge", boolean(false) } });
    swipe("com.apple.mobilenotes", 0, 10);
    EXPECT_EQ(notes->badgeValue(), 7);

    settings({ { "AlertToClearBadge", boolean(false) } });
    tweak::setSwitcherBarShowing(true);
    swipe("com.apple.mobilenotes", 0, 10);
    EXPECT_EQ(notes->badgeValue(), 7);

    tweak::setSwitcherBarShowing(false);
    swipe("com.apple.mobilenotes", 0, 10);
    EXPECT_EQ(notes->badgeValue(), 0);
    EXPECT_TRUE(alerts().empty());
}
