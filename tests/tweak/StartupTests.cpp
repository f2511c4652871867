#include "TweakTestSupport.h"

#include <AddOnNotifications.h>
#include <Dashmere.h>
#include <SavedSwipeSettings.h>

#include <activator/LAActivator.h>
#include <foundation/LogSink.h>
#include <foundation/NSBundle.h>
#include <foundation/NSNotificationCenter.h>
#include <foundation/RunLoop.h>
#include <notify/notify.h>

#include <cstdio>
#include <unistd.h>

using namespace tweak_test;
using activator::LAActivator;
using tweak::SavedSwipeSettings;

namespace {

constexpr const char* listenerName = "com.qelvo.torvane.activator.openapps";

// Start-up runs once per process, so each SpringBoard start runs in a child process of its own;
// the child reports the first check that failed on stderr and exits with 1.
#define CHILD_CHECK(condition)                                                               \
    do {                                                                                     \
        if (!(condition)) {                                                                  \
            std::fprintf(stderr, "child check failed, line %d: %s\n", __LINE__, #condition); \
            std::fflush(stderr);                                                             \
            ::_exit(1);                                                                      \
        }                                                                                    \
    } while (0)

class Startup : public DeviceTest {
protected:
    void installActivator() { writeRawFile("/Library/MobileSubstrate/DynamicLibraries/Activator.dylib", ""); }

    static void startSpringBoard()
    {
        foundation::NSBundle::mainBundle().setBundleIdentifier("com.apple.springboard");
        foundation::LogSink::clear();
        Dashmere_initializer();
    }
};

}

TEST_F(Startup, InSpringBoardLoadsSettingsRegistersTheListenerAndFollowsThePane)
{
    installActivator();
    EXPECT_EXIT(
        {
            startSpringBoard();
            CHILD_CHECK(foundation::LogSink::contains("Torvane 1.2.1 Loaded into SpringBoard"));
            auto written = readPreferences();
            CHILD_CHECK(written && written->count() == 10);
            CHILD_CHECK(LAActivator::sharedInstance().hasListenerWithName(listenerName));

            // The pane changes a setting and signals: the cache follows, then the indicators are told.
            int indicatorUpdates = 0;
            auto token = foundation::NSNotificationCenter::defaultCenter().addObserver(tweak::AddOnNotification::settingsReloaded, nullptr,
                [&](foundation::NSNotification&) { indicatorUpdates += SavedSwipeSettings::getLowerSensitivity() ? 1 : 100; });
            auto changed = written->mutableCopy();
            changed->setObjectForKey(boolean(true), "LowerSensitivity");
            CHILD_CHECK(changed->writeToFile(preferencesPath, true));
            CHILD_CHECK(!SavedSwipeSettings::getLowerSensitivity());
            notify::notify_post("com.qelvo.torvane.reload.settings");
            foundation::RunLoop::main().runUntilIdle();
            CHILD_CHECK(SavedSwipeSettings::getLowerSensitivity());
            CHILD_CHECK(indicatorUpdates == 1);

            // The preview request is observed and, for now, changes nothing.
            notify::notify_post("com.qelvo.torvane.new.preview");
            foundation::RunLoop::main().runUntilIdle();
            CHILD_CHECK(indicatorUpdates == 1);
            ::_exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Startup, WithoutActivatorCompletesWithoutAListener)
{
    EXPECT_EXIT(
        {
            startSpringBoard();
            CHILD_CHECK(foundation::LogSink::contains("Torvane 1.2.1 Loaded into SpringBoard"));
            CHILD_CHECK(!LAActivator::sharedInstance().hasListenerWithName(listenerName));
            CHILD_CHECK(readPreferences());
            ::_exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Startup, ReplacesAnOutdatedFileWithDefaults)
{
    writePreferences(dictionary({
        { "SelectedTheme", dictionary({ { "Name", text("Icon Label Bars") } }) },
        { "DisableTheseApps", strings({ "com.apple.mobilesafari" }) },
        { "LowerSensitivity", boolean(true) },
    }));
    EXPECT_EXIT(
        {
            startSpringBoard();
            auto written = readPreferences();
            CHILD_CHECK(written && written->count() == 10);
            CHILD_CHECK(written->arrayForKey("DisableTheseApps")->count() == 0);
            CHILD_CHECK(!SavedSwipeSettings::getLowerSensitivity());
            CHILD_CHECK(SavedSwipeSettings::getCurrentThemeName()->string() == "Icon Outlines");
            ::_exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(Startup, InAnyOtherProcessChangesNothing)
{
    installActivator();
    writeRawFile(preferencesPath, "left as it is");
    auto& bundle = foundation::NSBundle::mainBundle();
    const std::string ownIdentifier = bundle.bundleIdentifier();
    bundle.setBundleIdentifier("com.apple.Preferences");
    foundation::LogSink::clear();

    Dashmere_initializer();

    bundle.setBundleIdentifier(ownIdentifier);
    EXPECT_EQ(readRawFile(preferencesPath), "left as it is");
    EXPECT_FALSE(foundation::LogSink::contains("Torvane"));
    EXPECT_FALSE(LAActivator::sharedInstance().hasListenerWithName(listenerName));
}
