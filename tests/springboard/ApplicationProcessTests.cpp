#include "SpringBoardTestSupport.h"

#include <springboard/SBAppSwitcherBarView.h>
#include <springboard/SBAppSwitcherController.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconView.h>
#include <springboard/SBIconViewMap.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace springboard;
using springboard::host::ApplicationProcesses;
using springboard::testing::DeviceFixture;

namespace {

using Applications = DeviceFixture;

std::vector<std::string> switcherOrder()
{
    std::vector<std::string> order;
    for (auto* view : SBAppSwitcherController::sharedInstance()->barView().iconList().iconViews())
        order.push_back(view->icon()->leafIdentifier());
    return order;
}

// Resident memory of a process in kilobytes, from /proc.
long residentKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            long kilobytes = 0;
            fields >> kilobytes;
            return kilobytes;
        }
    }
    return -1;
}

}

TEST_F(Applications, LaunchStartsOneProcessThatHoldsItsMemory)
{
    boot();
    auto& controller = *SBApplicationController::sharedInstance();
    auto& maps = application("com.apple.Maps");
    EXPECT_EQ(maps.applicationState(), SBApplicationStateNeverStarted);
    controller.launchApplication("com.apple.Maps", 24);
    EXPECT_EQ(maps.applicationState(), SBApplicationStateForeground);
    EXPECT_EQ(maps.activationCount(), 1u);
    pid_t pid = maps.pid();
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(settle());
    EXPECT_GE(residentKilobytes(pid), 20 * 1024);
    EXPECT_EQ(::getpgid(pid), pid) << "an application is a process group of its own";

    // Launching it again brings the same process to the front.
    controller.launchApplication("com.apple.camera", 1);
    EXPECT_EQ(maps.applicationState(), SBApplicationStateBackground);
    controller.launchApplication("com.apple.Maps", 24);
    EXPECT_EQ(maps.pid(), pid);
    EXPECT_EQ(maps.activationCount(), 2u);
    EXPECT_EQ(maps.applicationState(), SBApplicationStateForeground);
    EXPECT_EQ(ApplicationProcesses::shared().childCount(), 2u);

    EXPECT_THROW(controller.launchApplication("com.example.unknown", 1), std::runtime_error);
}

TEST_F(Applications, CloseBoxEndsTheProcessAndStopsTheApplication)
{
    boot();
    auto& controller = *SBApplicationController::sharedInstance();
    controller.launchApplication("com.apple.mobilesafari", 2);
    auto& safari = application("com.apple.mobilesafari");
    pid_t pid = safari.pid();
    ASSERT_TRUE(settle());
    ASSERT_TRUE(processExists(pid));

    auto* icon = SBIconViewMap::switcherMap()->iconModel()->applicationIconForDisplayIdentifier("com.apple.mobilesafari");
    auto* view = SBIconViewMap::switcherMap()->iconViewForIcon(icon);
    ASSERT_NE(view, nullptr) << "the switcher bar holds a view of every running application, shown or not";
    SBAppSwitcherController::sharedInstance()->iconCloseBoxTapped(view);

    EXPECT_EQ(safari.applicationState(), SBApplicationStateStopped);
    EXPECT_EQ(safari.pid(), 0);
    EXPECT_TRUE(switcherOrder().empty());
    EXPECT_EQ(SBIconViewMap::switcherMap()->iconViewForIcon(icon), nullptr);
    ASSERT_TRUE(settle()) << "the ended process is reaped";
    EXPECT_FALSE(processExists(pid));
    EXPECT_EQ(ApplicationProcesses::shared().childCount(), 0u);
}

TEST_F(Applications, ApplicationThatExitsByItselfIsReapedAndStopped)
{
    boot();
    auto& controller = *SBApplicationController::sharedInstance();
    controller.launchApplication("com.apple.camera", 1);
    controller.launchApplication("com.apple.Maps", 1);
    auto& camera = application("com.apple.camera");
    pid_t pid = camera.pid();
    ASSERT_TRUE(settle());

    controller.quitApplication("com.apple.camera");
    EXPECT_FALSE(ApplicationProcesses::shared().isSettled()) << "a quit counts as pending until the process is reaped";
    ASSERT_TRUE(settle());
    EXPECT_EQ(camera.applicationState(), SBApplicationStateStopped);
    EXPECT_EQ(camera.pid(), 0);
    EXPECT_FALSE(processExists(pid));
    EXPECT_EQ(switcherOrder(), std::vector<std::string> { "com.apple.Maps" });
    EXPECT_THROW(controller.quitApplication("com.apple.camera"), std::runtime_error) << "no longer running";
}

TEST_F(Applications, KilledProcessIsNoticedToo)
{
    boot();
    auto& controller = *SBApplicationController::sharedInstance();
    controller.launchApplication("com.apple.Maps", 1);
    auto& maps = application("com.apple.Maps");
    ASSERT_TRUE(settle());
    ::kill(maps.pid(), SIGKILL);
    ASSERT_TRUE(runUntil([&] { return maps.applicationState() == SBApplicationStateStopped; }));
    EXPECT_TRUE(switcherOrder().empty());
}

TEST_F(Applications, SwitcherListsMostRecentlyActiveFirst)
{
    boot();
    auto& controller = *SBApplicationController::sharedInstance();
    controller.launchApplication("com.apple.mobilesafari", 1);
    controller.launchApplication("com.apple.Maps", 1);
    controller.launchApplication("com.apple.camera", 1);
    EXPECT_EQ(switcherOrder(), (std::vector<std::string> { "com.apple.camera", "com.apple.Maps", "com.apple.mobilesafari" }));
    controller.launchApplication("com.apple.mobilesafari", 1);
    EXPECT_EQ(switcherOrder(), (std::vector<std::string> { "com.apple.mobilesafari", "com.apple.camera", "com.apple.Maps" }));

    // Where the views go: four a screen, the newest at the left.
    auto views = SBAppSwitcherController::sharedInstance()->barView().iconList().iconViews();
    ASSERT_EQ(views.size(), 3u);
    EXPECT_FLOAT_EQ(views[0]->frame().origin.x, 17);
    EXPECT_FLOAT_EQ(views[1]->frame().origin.x, 93);
    ASSERT_TRUE(settle());
}

TEST_F(Applications, ShowingTheSwitcherRevealsTheBarAndMovesTheHomeScreenUp)
{
    auto& springBoard = boot();
    SBApplicationController::sharedInstance()->launchApplication("com.apple.Maps", 1);
    auto& bar = SBAppSwitcherController::sharedInstance()->barView();
    EXPECT_TRUE(bar.isHidden());
    auto* mapsHome = springBoard.homescreenMap().iconViewForIcon(springBoard.model().applicationIconForDisplayIdentifier("com.apple.Maps"));
    float homeY = mapsHome->convertRectToView(mapsHome->bounds(), nullptr).origin.y;

    springBoard.showSwitcher();
    EXPECT_TRUE(springBoard.isSwitcherShowing());
    EXPECT_FALSE(bar.isHidden());
    EXPECT_FLOAT_EQ(mapsHome->convertRectToView(mapsHome->bounds(), nullptr).origin.y, homeY - 96);
    auto& inBar = springBoard.iconViewForTarget("Maps");
    EXPECT_EQ(inBar.superview()->superview(), &bar);
    EXPECT_FLOAT_EQ(inBar.convertRectToView(inBar.bounds(), nullptr).origin.y, 384 + 12);

    springBoard.pressHomeButton();
    EXPECT_FALSE(springBoard.isSwitcherShowing());
    EXPECT_TRUE(bar.isHidden());
    EXPECT_EQ(application("com.apple.Maps").applicationState(), SBApplicationStateBackground) << "home sends the front application back";
    ASSERT_TRUE(settle());
}
