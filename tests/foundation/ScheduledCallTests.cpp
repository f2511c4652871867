#include <foundation/ScheduledCall.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace foundation;
using namespace foundation::literals;

namespace {

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
    auto logs(const char* text)
    {
        return [this, text] { m_log.push_back(text); };
    }

    std::vector<std::string> m_log;
};

}

TEST_F(ScheduledCallTest, DroppedBeforeItFiresItNeverFires)
{
    {
        // An indicator asked to show itself in 0.35 s, gone after 0.2 s.
        ScheduledCall show = ScheduledCall::afterDelay(0.35_s, logs("shown"));
        loop().advanceBy(0.2_s);
        EXPECT_TRUE(show.isPending());
    }
    EXPECT_EQ(loop().pendingWorkCount(), 0u) << "the work is off the loop and what it captured released";
    loop().advanceBy(1_s);
    EXPECT_TRUE(m_log.empty());
}

TEST_F(ScheduledCallTest, MovingKeepsTheCallAndReplacingCancelsTheOldOne)
{
    ScheduledCall first = ScheduledCall::afterDelay(0.25_s, logs("preview"));
    ScheduledCall kept = std::move(first);
    EXPECT_FALSE(first.isPending());
    {
        ScheduledCall emptied = std::move(first); // owns nothing, so takes nothing with it
    }
    ScheduledCall layout = ScheduledCall::onNextTurn(logs("stale layout"));
    layout = ScheduledCall::onNextTurn(logs("layout"));

    loop().advanceBy(1_s);
    EXPECT_EQ(m_log, (std::vector<std::string> { "layout", "preview" }));
}

TEST_F(ScheduledCallTest, WorkMayCancelItselfOrDestroyItsOwner)
{
    int fires = 0;
    ScheduledCall timer = ScheduledCall::timer(0.1_s, RunLoop::Repeats::Yes, [&] {
        if (++fires == 3)
            timer.cancel();
    });
    // The owner goes away while its own call runs.
    auto owner = std::make_unique<ScheduledCall>();
    *owner = ScheduledCall::onNextTurn([&] {
        owner = nullptr;
        m_log.push_back("owner released");
    });
    loop().advanceBy(1_s);
    EXPECT_EQ(fires, 3);
    EXPECT_FALSE(timer.isPending());
    EXPECT_FALSE(owner);
    EXPECT_EQ(m_log, std::vector<std::string> { "owner released" });
}
