#include "TweakTestSupport.h"

#include <SavedSwipeSettings.h>
#include <TorvaneActivatorSetup.h>

#include <activator/LAActivator.h>
#include <foundation/LogSink.h>
#include <foundation/NSData.h>
#include <foundation/NSNotificationCenter.h>

using namespace tweak_test;
using activator::LAActivator;
using tweak::TorvaneActivatorSetup;

namespace {

constexpr const char* listenerName = "com.qelvo.torvane.activator.openapps";

class QuickKillerListener : public DeviceTest {
protected:
    void TearDown() override
    {
        LAActivator::sharedInstance().unregisterListener(listenerName);
        DeviceTest::TearDown();
    }
};

}

TEST_F(QuickKillerListener, DescribesItselfOnlyForItsOwnName)
{
    auto listener = TorvaneActivatorSetup::create();
    auto& activator = LAActivator::sharedInstance();
    EXPECT_EQ(listener->activatorRequiresLocalizedTitleForListenerName(activator, listenerName)->string(), "Torvane Quick Killer");
    EXPECT_EQ(listener->activatorRequiresLocalizedDescriptionForListenerName(activator, listenerName)->string(),
        "Popup shows open apps, RAM use, and kill options");
    EXPECT_FALSE(listener->activatorRequiresLocalizedTitleForListenerName(activator, "com.example.other"));
    EXPECT_FALSE(listener->activatorRequiresLocalizedDescriptionForListenerName(activator, "com.example.other"));
}

TEST_F(QuickKillerListener, IconIsTheBundleImage)
{
    auto listener = TorvaneActivatorSetup::create();
    auto& activator = LAActivator::sharedInstance();
    EXPECT_FALSE(listener->activatorRequiresSmallIconDataForListenerNameScale(activator, listenerName, 2)) << "no image installed";

    const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + "rest of the image";
    writeRawFile("/System/Library/PreferenceBundles/TorvaneSettings.bundle/TorvaneIcon.png", png);
    for (float scale : { 1.0f, 2.0f }) {
        auto data = listener->activatorRequiresSmallIconDataForListenerNameScale(activator, listenerName, scale);
        ASSERT_TRUE(data);
        EXPECT_EQ(std::string(data->vector().begin(), data->vector().end()), png);
    }
    EXPECT_FALSE(listener->activatorRequiresSmallIconDataForListenerNameScale(activator, "com.example.other", 1));
}

TEST_F(QuickKillerListener, ObservesTheClosingSignalOnlyWhileAlive)
{
    auto& center = foundation::NSNotificationCenter::defaultCenter();
    size_t before = center.observerCount();
    {
        auto listener = TorvaneActivatorSetup::create();
        EXPECT_EQ(center.observerCount(), before + 1);
        EXPECT_FLOAT_EQ(listener->totalRAMBeingUsed(), 0.0f);
        center.postNotificationName("TorvaneKillActivatorAlertNow");
    }
    EXPECT_EQ(center.observerCount(), before);
    center.postNotificationName("TorvaneKillActivatorAlertNow"); // reaches no dead listener
}

TEST_F(QuickKillerListener, StartUpRegistersItOnlyWhenActivatorIsInstalled)
{
    auto& activator = LAActivator::sharedInstance();
    tweak::SavedSwipeSettings::initialSetupCalled();
    EXPECT_FALSE(activator.hasListenerWithName(listenerName));

    writeRawFile("/Library/MobileSubstrate/DynamicLibraries/Activator.dylib", "");
    tweak::SavedSwipeSettings::initialSetupCalled();
    ASSERT_TRUE(activator.hasListenerWithName(listenerName));
    EXPECT_EQ(activator.localizedTitleForListenerName(listenerName)->string(), "Torvane Quick Killer");

    // An event the user assigned to it reaches it and is taken as handled.
    ASSERT_TRUE(activator.assignEvent("libactivator.statusbar.doubletap", listenerName));
    foundation::LogSink::clear();
    auto event = activator.sendEvent("libactivator.statusbar.doubletap");
    EXPECT_TRUE(event->isHandled());
    EXPECT_TRUE(foundation::LogSink::contains("libactivator.statusbar.doubletap"));
}
