#include "NotifyTestSupport.h"

#include <foundation/RunLoop.h>
#include <notify/CFNotificationCenter.h>
#include <notify/notify.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace notify;
using namespace foundation::literals;

namespace {

struct Recorder {
    std::vector<std::string> names;
    bool removeSelfWhenCalled { false };
    Recorder* alsoRemove { nullptr };
};

void recordCallback(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object, CFDictionaryRef userInfo)
{
    auto* recorder = static_cast<Recorder*>(observer);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(userInfo, nullptr);
    recorder->names.emplace_back(name);
    if (recorder->removeSelfWhenCalled)
        CFNotificationCenterRemoveEveryObserver(center, recorder);
    if (recorder->alsoRemove)
        CFNotificationCenterRemoveEveryObserver(center, recorder->alsoRemove);
}

// No broker socket on this device: posts stay inside the process.
class LocalNotifyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        foundation::DeviceRoot::set(m_root.path());
        DarwinNotifyCenter::shared().disconnect();
        foundation::RunLoop::main().discardPendingWork();
        foundation::RunLoop::main().setClock(foundation::VirtualClock::create());
    }
    void TearDown() override
    {
        for (auto* recorder : { &first, &second })
            CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), recorder);
        foundation::RunLoop::main().runUntilIdle();
        foundation::RunLoop::main().setClock(foundation::RealClock::create());
    }

    void observe(Recorder& recorder, const char* name)
    {
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &recorder, recordCallback, CFSTR(name),
            nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    }

    notifytest::TemporaryRoot m_root;
    Recorder first;
    Recorder second;
};

}

TEST_F(LocalNotifyTest, PostRunsCallbacksOnTheRunLoopNotInsideNotifyPost)
{
    observe(first, "com.qelvo.torvane.reload.settings");
    EXPECT_EQ(notify_post("com.qelvo.torvane.reload.settings"), NOTIFY_STATUS_OK);
    EXPECT_TRUE(first.names.empty()) << "called inside notify_post";
    EXPECT_FALSE(DarwinNotifyCenter::shared().isConnected());
    EXPECT_EQ(DarwinNotifyCenter::shared().deliveriesReceivedNotRun(), 1u);

    foundation::RunLoop::main().runOnce();
    EXPECT_EQ(first.names, (std::vector<std::string> { "com.qelvo.torvane.reload.settings" }));
    EXPECT_EQ(DarwinNotifyCenter::shared().deliveriesReceivedNotRun(), 0u);
}

TEST_F(LocalNotifyTest, OnlyObserversOfThePostedNameAreCalled)
{
    observe(first, "qelvo.nimbrel.apps.loaded");
    observe(second, "qelvo.nimbrel.check.on.apps");
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), CFSTR("qelvo.nimbrel.apps.loaded"), nullptr,
        nullptr, true);
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(first.names.size(), 1u);
    EXPECT_TRUE(second.names.empty());
}

TEST_F(LocalNotifyTest, RapidPostsOfOneNameCoalesceIntoOneRun)
{
    observe(first, "qelvo.nmbl.reloadinfo");
    notify_post("qelvo.nmbl.reloadinfo");
    notify_post("qelvo.nmbl.reloadinfo");
    notify_post("qelvo.nmbl.reloadinfo");
    EXPECT_EQ(DarwinNotifyCenter::shared().deliveriesReceivedNotRun(), 3u);
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(first.names.size(), 1u);
    EXPECT_EQ(DarwinNotifyCenter::shared().deliveriesReceivedNotRun(), 0u);

    // After the run, a new post is a new delivery.
    notify_post("qelvo.nmbl.reloadinfo");
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(first.names.size(), 2u);
}

TEST_F(LocalNotifyTest, ObserverRemovedBeforeTheRunOrByAnEarlierCallbackIsNotCalled)
{
    observe(first, "N");
    observe(second, "N");
    first.alsoRemove = &second;
    notify_post("N");
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(first.names.size(), 1u);
    EXPECT_TRUE(second.names.empty());

    notify_post("N");
    CFNotificationCenterRemoveObserver(CFNotificationCenterGetDarwinNotifyCenter(), &first, CFSTR("N"), nullptr);
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(first.names.size(), 1u);
}

TEST_F(LocalNotifyTest, RegisteringTwiceCallsOnce)
{
    observe(first, "N");
    observe(first, "N");
    notify_post("N");
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(first.names.size(), 1u);
}

TEST_F(LocalNotifyTest, InvalidNamesAreRefused)
{
    EXPECT_EQ(notify_post(nullptr), NOTIFY_STATUS_INVALID_NAME);
    EXPECT_EQ(notify_post(""), NOTIFY_STATUS_INVALID_NAME);
    EXPECT_EQ(notify_post("two\nlines"), NOTIFY_STATUS_INVALID_NAME);
    EXPECT_EQ(notify_post(std::string(5000, 'n').c_str()), NOTIFY_STATUS_INVALID_NAME);
    EXPECT_EQ(foundation::RunLoop::main().pendingWorkCount(), 0u);
}
