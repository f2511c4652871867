#include <foundation/ScheduledCall.h>
#include <runtime/Object.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace foundation;
using namespace foundation::literals;
using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;

namespace {

// Shows an indicator a moment after it is asked to, unless it is gone by then. The work writes to
// the log rather than to the indicator, so a call that outlived its owner fails the test instead of
// touching freed memory.
class DelayedIndicator : public Object {
    TORVANE_OBJECT(DelayedIndicator, Object)
public:
    static Ref<DelayedIndicator> create(std::vector<std::string>& log) { return runtime::adoptRef(*new DelayedIndicator(log)); }
    void showSoon()
    {
        m_show = ScheduledCall::afterDelay(0.35_s, [&log = m_log] { log.push_back("shown"); });
    }
    ScheduledCall& pendingShow() { return m_show; }

private:
    explicit DelayedIndicator(std::vector<std::string>& log)
        : m_log(log)
    {
    }
    std::vector<std::string>& m_log;
    ScheduledCall m_show;
};
TORVANE_DEFINE_CLASS(DelayedIndicator)

class ScheduledCallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        loop().discardPendingWork();
        loop().setClock(VirtualClock::create());
    }
    void TearDown() override
    {
        loop().discardPendingWork();
        loop().setClock(RealClock::create());
    }
    static RunLoop& loop() { return RunLoop::main(); }

    std::vector<std::string> m_log;
};

}

TEST_F(ScheduledCallTest, OwnerThatDiesBeforeTheDelayIsNeverCalledBack)
{
    RefPtr<DelayedIndicator> indicator = DelayedIndicator::create(m_log);
    indicator->showSoon();
    loop().advanceBy(0.2_s);
    EXPECT_TRUE(indicator->pendingShow().isPending());
    indicator = nullptr;
    EXPECT_EQ(loop().pendingWorkCount(), 0u) << "the dead owner's work is off the loop, and what it captured released";
    loop().advanceBy(1_s);
    EXPECT_TRUE(m_log.empty());

    auto survivor = DelayedIndicator::create(m_log);
    survivor->showSoon();
    loop().advanceBy(0.35_s);
    EXPECT_EQ(m_log, std::vector<std::string> { "shown" });
    EXPECT_FALSE(survivor->pendingShow().isPending());
}

TEST_F(ScheduledCallTest, MovingKeepsTheCallAndReplacingCancelsTheOldOne)
{
    ScheduledCall first = ScheduledCall::afterDelay(0.25_s, [this] { m_log.push_back("moved"); });
    ScheduledCall kept = std::move(first);
    EXPECT_FALSE(first.isPending());
    EXPECT_TRUE(kept.isPending());
    {
        // Destroying the moved-from call must not take the work with it.
        ScheduledCall emptied = std::move(first);
    }

    ScheduledCall layout = ScheduledCall::onNextTurn([this] { m_log.push_back("stale layout"); });
    layout = ScheduledCall::onNextTurn([this] { m_log.push_back("layout"); });
    ScheduledCall same = ScheduledCall::onNextTurn([this] { m_log.push_back("assigned to itself"); });
    same = std::move(same);

    loop().advanceBy(1_s);
    EXPECT_EQ(m_log, (std::vector<std::string> { "layout", "assigned to itself", "moved" }));
}

TEST_F(ScheduledCallTest, WorkMayCancelItselfOrDestroyItsOwner)
{
    int fires = 0;
    ScheduledCall timer;
    timer = ScheduledCall::timer(0.1_s, RunLoop::Repeats::Yes, [&] {
        if (++fires == 3)
            timer.cancel();
    });
    loop().advanceBy(1_s);
    EXPECT_EQ(fires, 3);
    EXPECT_FALSE(timer.isPending());

    // The owner's last reference goes while its own call runs.
    RefPtr<DelayedIndicator> indicator = DelayedIndicator::create(m_log);
    indicator->pendingShow() = ScheduledCall::onNextTurn([&] {
        indicator = nullptr;
        m_log.push_back("owner released");
    });
    EXPECT_TRUE(loop().runUntilIdle());
    EXPECT_FALSE(indicator);
    EXPECT_EQ(m_log, std::vector<std::string> { "owner released" });
}
