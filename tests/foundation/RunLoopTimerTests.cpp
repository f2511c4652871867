#include <foundation/NSTimer.h>
#include <foundation/PerformSelector.h>
#include <foundation/RunLoop.h>
#include <runtime/WeakPtr.h>

#include <gtest/gtest.h>

#include <vector>

using namespace foundation;
using namespace foundation::literals;
using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;
using runtime::WeakPtr;

namespace {

class Target : public Object {
    TORVANE_OBJECT(Target, Object)
public:
    static Ref<Target> create() { return runtime::adoptRef(*new Target); }
    int calls { 0 };

private:
    Target() = default;
};
TORVANE_DEFINE_CLASS(Target)

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RunLoop::main().discardPendingWork();
        m_clock = VirtualClock::create();
        RunLoop::main().setClock(m_clock);
    }
    void TearDown() override
    {
        RunLoop::main().discardPendingWork();
        RunLoop::main().setClock(RealClock::create());
    }
    static RunLoop& loop() { return RunLoop::main(); }

    std::shared_ptr<VirtualClock> m_clock;
};

}

TEST_F(TimerTest, ZeroIntervalTimerFiresOnTheNextTurnNotDuringScheduling)
{
    int fires = 0;
    WeakPtr<NSTimer> weak;
    {
        auto timer = NSTimer::scheduledTimerWithTimeInterval(0_s, false, [&](NSTimer&) { ++fires; });
        weak = timer;
    }
    EXPECT_EQ(fires, 0);
    EXPECT_TRUE(weak) << "the run loop owns a scheduled timer";
    loop().runOnce();
    EXPECT_EQ(fires, 1);
    EXPECT_FALSE(weak) << "released once it has fired";
    loop().advanceBy(1_s);
    EXPECT_EQ(fires, 1);
}

TEST_F(TimerTest, OneShotTimerIsInvalidInsideItsOwnCallbackAndFiresOnce)
{
    bool validDuringCallback = true;
    auto timer = NSTimer::scheduledTimerWithTimeInterval(0.35_s, false, [&](NSTimer& fired) { validDuringCallback = fired.isValid(); });
    EXPECT_TRUE(timer->isValid());
    loop().advanceBy(0.3_s);
    EXPECT_TRUE(timer->isValid());
    loop().advanceBy(0.1_s);
    EXPECT_FALSE(validDuringCallback);
    EXPECT_FALSE(timer->isValid());
    EXPECT_EQ(timer->refCount(), 1u) << "the loop let go of it";
}

TEST_F(TimerTest, RepeatingTimerInvalidatedFromItsCallbackStopsAndReleasesWhatItCaptured)
{
    auto captured = Target::create();
    WeakPtr<Target> weakCaptured = captured;
    WeakPtr<NSTimer> weakTimer;
    int fires = 0;
    {
        auto timer = NSTimer::scheduledTimerWithTimeInterval(0.1_s, true, [&fires, held = Ref<Target>(captured)](NSTimer& self) {
            ++held->calls;
            if (++fires == 3)
                self.invalidate();
        });
        weakTimer = timer;
    }
    captured = Target::create(); // drop the test's own reference to the first target
    loop().advanceBy(1_s);
    EXPECT_EQ(fires, 3);
    EXPECT_FALSE(weakTimer) << "an invalidated timer is no longer owned by the loop";
    EXPECT_FALSE(weakCaptured) << "invalidating releases the callback and its captures";
}

TEST_F(TimerTest, TimerInvalidatedBeforeItsTimeNeverFires)
{
    int fires = 0;
    auto timer = NSTimer::scheduledTimerWithTimeInterval(0.2_s, true, [&](NSTimer&) { ++fires; });
    timer->invalidate();
    EXPECT_FALSE(timer->isValid());
    EXPECT_EQ(timer->refCount(), 1u);
    loop().advanceBy(1_s);
    EXPECT_EQ(fires, 0);
    EXPECT_EQ(loop().pendingWorkCount(), 0u);
}

TEST_F(TimerTest, DelayedCallKeepsItsTargetAliveUntilItRunsThenReleasesIt)
{
    WeakPtr<Target> weak;
    int seenCalls = -1;
    {
        auto target = Target::create();
        weak = target;
        Target* raw = target.ptr();
        performAfterDelay(target, 0.35_s, [raw, &seenCalls] { seenCalls = ++raw->calls; });
    }
    EXPECT_TRUE(weak) << "retained by the pending call";
    EXPECT_EQ(pendingPerformRequestCount(*weak.get()), 1u);
    loop().advanceBy(0.34_s);
    EXPECT_EQ(seenCalls, -1);
    loop().advanceBy(0.01_s);
    EXPECT_EQ(seenCalls, 1);
    EXPECT_FALSE(weak) << "released after the call ran";
}

TEST_F(TimerTest, CancellingDelayedCallsOfOneTargetLeavesOtherTargetsAlone)
{
    auto cancelled = Target::create();
    auto kept = Target::create();
    WeakPtr<Target> weakCancelled = cancelled;
    performAfterDelay(cancelled, 0.1_s, [&] { ++cancelled->calls; });
    performAfterDelay(cancelled, 0.2_s, [&] { ++cancelled->calls; });
    performAfterDelay(kept, 0.1_s, [&] { ++kept->calls; });
    EXPECT_EQ(cancelled->refCount(), 3u);

    cancelPreviousPerformRequestsWithTarget(*cancelled);
    EXPECT_EQ(cancelled->refCount(), 1u) << "cancelling releases the holds";
    EXPECT_EQ(pendingPerformRequestCount(*cancelled), 0u);
    loop().advanceBy(1_s);
    EXPECT_EQ(cancelled->calls, 0);
    EXPECT_EQ(kept->calls, 1);
}

TEST_F(TimerTest, CancellingReleasesTheLastReferenceSafely)
{
    WeakPtr<Target> weak;
    {
        auto target = Target::create();
        weak = target;
        performAfterDelay(target, 1_s, [] { });
    }
    cancelPreviousPerformRequestsWithTarget(*weak.get());
    EXPECT_FALSE(weak);
    EXPECT_EQ(loop().pendingWorkCount(), 0u);
}

TEST_F(TimerTest, ADelayedCallMayCancelTheOthersOfItsTarget)
{
    auto target = Target::create();
    performAfterDelay(target, 0.1_s, [&] {
        ++target->calls;
        cancelPreviousPerformRequestsWithTarget(*target);
    });
    performAfterDelay(target, 0.1_s, [&] { target->calls += 100; });
    loop().advanceBy(1_s);
    EXPECT_EQ(target->calls, 1);
    EXPECT_EQ(target->refCount(), 1u);
}
