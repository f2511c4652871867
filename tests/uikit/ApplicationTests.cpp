#include "UIKitTestSupport.h"

#include <foundation/NSDictionary.h>
#include <foundation/NSNotificationCenter.h>
#include <foundation/NSNumber.h>
#include <uikit/UIApplication.h>
#include <uikit/UIDevice.h>
#include <uikit/UIScreen.h>
#include <uikit/UIWindow.h>

#include <string>
#include <vector>

using namespace uikit;

TEST(Screen, IsAnIPhoneScreenAtScaleTwo)
{
    EXPECT_EQ(UIScreen::mainScreen().bounds(), (CGRect { { 0, 0 }, { 320, 480 } }));
    EXPECT_EQ(UIScreen::mainScreen().scale(), 2);
    EXPECT_EQ(&UIScreen::mainScreen(), &UIScreen::mainScreen());
}

TEST(Orientation, StatusBarChangePostsWillAndDidWithTheOrientations)
{
    auto& application = UIApplication::sharedApplication();
    std::vector<std::string> names;
    std::vector<int> values;
    auto token = foundation::NSNotificationCenter::defaultCenter().addObserver("", &application, [&](foundation::NSNotification& note) {
        names.push_back(note.name());
        auto value = note.userInfo() ? runtime::dynamicCast<foundation::NSNumber>(note.userInfo()->objectForKey(UIApplicationStatusBarOrientationUserInfoKey)) : nullptr;
        values.push_back(value ? value->intValue() : -1);
        if (note.name() == UIApplicationDidChangeStatusBarOrientationNotification) {
            EXPECT_EQ(UIApplication::sharedApplication().statusBarOrientation(), UIInterfaceOrientationLandscapeRight);
        }
    });
    application.setStatusBarOrientation(UIInterfaceOrientationPortrait);
    EXPECT_TRUE(names.empty()) << "no change, no notification";

    application.setStatusBarOrientation(UIInterfaceOrientationLandscapeRight);
    EXPECT_EQ(names, (std::vector<std::string> { UIApplicationWillChangeStatusBarOrientationNotification, UIApplicationDidChangeStatusBarOrientationNotification }));
    EXPECT_EQ(values, (std::vector<int> { UIInterfaceOrientationLandscapeRight, UIInterfaceOrientationPortrait }));
    token.reset();
    application.setStatusBarOrientation(UIInterfaceOrientationPortrait);
}

TEST(Orientation, DeviceOrientationChangePostsOnce)
{
    auto& device = UIDevice::currentDevice();
    int posts = 0;
    auto token = foundation::NSNotificationCenter::defaultCenter().addObserver(UIDeviceOrientationDidChangeNotification, &device,
        [&](foundation::NSNotification&) { ++posts; });
    device.setOrientation(UIDeviceOrientationLandscapeLeft);
    device.setOrientation(UIDeviceOrientationLandscapeLeft);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(device.orientation(), UIDeviceOrientationLandscapeLeft);
    device.setOrientation(UIDeviceOrientationPortrait);
}

TEST(ApplicationLifeCycle, LeavingAndReturningPostInUIKitOrder)
{
    auto& application = UIApplication::sharedApplication();
    std::vector<std::string> names;
    auto token = foundation::NSNotificationCenter::defaultCenter().addObserver("", &application,
        [&](foundation::NSNotification& note) { names.push_back(note.name()); });
    application.enterBackground();
    application.enterBackground();
    EXPECT_EQ(application.applicationState(), UIApplicationState::Background);
    application.enterForeground();
    EXPECT_EQ(names, (std::vector<std::string> { UIApplicationWillResignActiveNotification, UIApplicationDidEnterBackgroundNotification,
                         UIApplicationWillEnterForegroundNotification, UIApplicationDidBecomeActiveNotification }));
}

TEST(ApplicationWindows, ListsVisibleWindowsByLevelAndForgetsDeadOnes)
{
    auto& application = UIApplication::sharedApplication();
    auto alert = UIWindow::create({ { 0, 0 }, { 100, 100 } });
    alert->setWindowLevel(UIWindowLevelAlert);
    alert->makeKeyAndVisible();
    {
        auto main = UIWindow::create({ { 0, 0 }, { 320, 480 } });
        main->makeKeyAndVisible();
        EXPECT_TRUE(main->isKeyWindow());
        EXPECT_FALSE(alert->isKeyWindow());
        auto windows = application.windows();
        ASSERT_GE(windows.size(), 2u);
        EXPECT_EQ(windows.back(), alert.ptr());
        EXPECT_EQ(windows[windows.size() - 2], main.ptr());
    }
    EXPECT_EQ(application.keyWindow(), nullptr) << "the key window died";
    auto windows = application.windows();
    EXPECT_EQ(std::count(windows.begin(), windows.end(), alert.ptr()), 1);
    alert->setHidden(true);
    windows = application.windows();
    EXPECT_EQ(std::count(windows.begin(), windows.end(), alert.ptr()), 0);
}
