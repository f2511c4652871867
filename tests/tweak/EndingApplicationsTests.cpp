#include "TweakTestSupport.h"

#include <SavedSwipeSettings.h>

#include <springboard/SBAppSwitcherController.h>
#include <springboard/SBApplicationController.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconViewMap.h>

using namespace tweak_test;
using namespace springboard;
using runtime::Ref;
using tweak::SavedSwipeSettings;

namespace {

// A SpringBoard with a few applications on the home screen; "running" ones sit in the switcher
// bar. Their processes are not started (pid 0), so ending one only changes SpringBoard's state.
class EndingApplications : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        m_model = SBIconModel::create();
        m_applications = SBApplicationController::create();
        SBApplicationController::setSharedInstance(m_applications);
        const std::vector<std::pair<const char*, const char*>> installed { { "com.apple.mobilesafari", "Safari" },
            { "com.apple.camera", "Camera" }, { "com.apple.mobilenotes", "Notes" }, { "com.apple.mobilephone", "Phone" } };
        for (auto [identifier, name] : installed)
            m_model->addApplicationIconToPage(SBApplicationIcon::create(m_applications->addApplication(identifier, name)), 0);
        SBIconViewMap::setSharedMaps(SBIconViewMap::create(SBIconViewMap::Kind::HomeScreen, *m_model),
            SBIconViewMap::create(SBIconViewMap::Kind::Switcher, *m_model));
        m_switcher = SBAppSwitcherController::create();
        SBAppSwitcherController::setSharedInstance(m_switcher);
    }
    void TearDown() override
    {
        SBAppSwitcherController::setSharedInstance(nullptr);
        SBIconViewMap::setSharedMaps(nullptr, nullptr);
        SBApplicationController::setSharedInstance(nullptr);
        DeviceTest::TearDown();
    }

    SBApplication& application(const char* identifier) { return *m_applications->applicationWithBundleIdentifier(identifier); }
    void run(const char* identifier)
    {
        auto& running = application(identifier);
        running.setApplicationState(SBApplicationStateBackground);
        m_switcher->applicationDidActivate(running);
    }
    std::vector<std::string> switcherBar() const
    {
        std::vector<std::string> identifiers;
        for (auto& running : m_switcher->applications())
            identifiers.push_back(running->bundleIdentifier());
        return identifiers;
    }

    runtime::RefPtr<SBIconModel> m_model;
    runtime::RefPtr<SBApplicationController> m_applications;
    runtime::RefPtr<SBAppSwitcherController> m_switcher;
};

}

TEST_F(EndingApplications, EndsListedApplicationsThroughTheSwitcherBar)
{
    run("com.apple.mobilesafari");
    run("com.apple.camera");
    run("com.apple.mobilenotes");

    EXPECT_TRUE(SavedSwipeSettings::superFinallyKillTheseApps(strings({ "com.apple.mobilesafari", "com.apple.mobilenotes" }).ptr()));

    EXPECT_EQ(application("com.apple.mobilesafari").applicationState(), SBApplicationStateStopped);
    EXPECT_EQ(application("com.apple.mobilenotes").applicationState(), SBApplicationStateStopped);
    EXPECT_EQ(application("com.apple.camera").applicationState(), SBApplicationStateBackground);
    EXPECT_EQ(switcherBar(), std::vector<std::string> { "com.apple.camera" });
}

TEST_F(EndingApplications, IdentifiersWithoutASwitcherIconAreSkipped)
{
    run("com.apple.camera");
    // Not installed, installed but not running, then one that runs: the last is still ended.
    EXPECT_TRUE(SavedSwipeSettings::superFinallyKillTheseApps(
        strings({ "com.example.unknown", "com.apple.mobilesafari", "com.apple.camera" }).ptr()));
    EXPECT_EQ(application("com.apple.camera").applicationState(), SBApplicationStateStopped);
    EXPECT_EQ(application("com.apple.mobilesafari").applicationState(), SBApplicationStateNeverStarted);
    EXPECT_TRUE(switcherBar().empty());
}

TEST_F(EndingApplications, NonStringElementsAreSkippedAndStillCountAsTried)
{
    run("com.apple.camera");
    foundation::NSArray::Storage odd;
    odd.push_back(foundation::NSNumber::numberWithInt(3));
    odd.push_back(strings({ "com.apple.camera" }));
    EXPECT_TRUE(SavedSwipeSettings::superFinallyKillTheseApps(foundation::NSArray::create(std::move(odd)).ptr()));
    EXPECT_EQ(application("com.apple.camera").applicationState(), SBApplicationStateBackground);
}

TEST_F(EndingApplications, NeverEndedApplicationsAreNotFilteredHere)
{
    // The switcher-bar swipe ends whatever the bar shows; filtering is the callers' business.
    run("com.apple.mobilephone");
    EXPECT_TRUE(SavedSwipeSettings::superFinallyKillTheseApps(strings({ "com.apple.mobilephone" }).ptr()));
    EXPECT_EQ(application("com.apple.mobilephone").applicationState(), SBApplicationStateStopped);
}

TEST_F(EndingApplications, NothingToTryGivesNo)
{
    run("com.apple.camera");
    EXPECT_FALSE(SavedSwipeSettings::superFinallyKillTheseApps(nullptr));
    EXPECT_FALSE(SavedSwipeSettings::superFinallyKillTheseApps(foundation::NSArray::create().ptr()));

    SBIconViewMap::setSharedMaps(nullptr, nullptr);
    EXPECT_FALSE(SavedSwipeSettings::superFinallyKillTheseApps(strings({ "com.apple.camera" }).ptr()));
    EXPECT_EQ(application("com.apple.camera").applicationState(), SBApplicationStateBackground);
}
