#include <foundation/RunLoop.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace foundation;
using namespace foundation::literals;

namespace {

// Every test gets the process's loop back empty and on a fresh virtual clock.
class RunLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        loop().discardPendingWork();
        m_clock = VirtualClock::create();
        loop().setClock(m_clock);
    }
    void TearDown() override
    {
        loop().discardPendingWork();
        loop().setClock(RealClock::create());
    }

    static RunLoop& loop() { return RunLoop::main(); }
    double elapsed() const { return m_clock->now().secondsSinceOrigin().value(); }

    std::shared_ptr<VirtualClock> m_clock;
};

class Pipe {
public:
    Pipe() { EXPECT_EQ(::pipe2(m_fds, O_CLOEXEC | O_NONBLOCK), 0); }
    ~Pipe()
    {
        ::close(m_fds[0]);
        ::close(m_fds[1]);
    }
    int readEnd() const { return m_fds[0]; }
    void write(char byte) { ASSERT_EQ(::write(m_fds[1], &byte, 1), 1); }
    std::string drain()
    {
        std::string text;
        char byte;
        while (::read(m_fds[0], &byte, 1) == 1)
            text += byte;
        return text;
    }

private:
    int m_fds[2] { -1, -1 };
};

}

TEST_F(RunLoopTest, TimersFireInDueOrderWhateverOrderTheyWereScheduledIn)
{
    std::vector<std::string> fired;
    loop().dispatchAfter(0.5_s, [&] { fired.push_back("late"); });
    loop().dispatchAfter(0.1_s, [&] { fired.push_back("early"); });
    loop().dispatchAfter(0.3_s, [&] { fired.push_back("middle"); });

    loop().advanceBy(0.2_s);
    EXPECT_EQ(fired, (std::vector<std::string> { "early" }));
    loop().advanceBy(1_s);
    EXPECT_EQ(fired, (std::vector<std::string> { "early", "middle", "late" }));
}

TEST_F(RunLoopTest, WorkDueAtTheSameTimeRunsInTheOrderItWasScheduled)
{
    std::vector<int> order;
    loop().dispatchAfter(0.2_s, [&] { order.push_back(1); });
    loop().dispatch([&] { order.push_back(0); });
    loop().dispatchAfter(0.2_s, [&] { order.push_back(2); });
    loop().dispatchAfter(0.2_s, [&] { order.push_back(3); });
    loop().advanceBy(0.2_s);
    EXPECT_EQ(order, (std::vector<int> { 0, 1, 2, 3 }));
}

TEST_F(RunLoopTest, TimerScheduledByATimerFiresAtItsOwnTimeWithinOneAdvance)
{
    std::vector<double> firedAt;
    loop().dispatchAfter(0.25_s, [&] {
        firedAt.push_back(elapsed());
        loop().dispatchAfter(0.35_s, [&] { firedAt.push_back(elapsed()); });
    });
    loop().dispatchAfter(0.5_s, [&] { firedAt.push_back(elapsed()); });

    loop().advanceBy(2_s);
    ASSERT_EQ(firedAt.size(), 3u);
    EXPECT_DOUBLE_EQ(firedAt[0], 0.25);
    EXPECT_DOUBLE_EQ(firedAt[1], 0.5);
    EXPECT_DOUBLE_EQ(firedAt[2], 0.6);
    EXPECT_DOUBLE_EQ(elapsed(), 2.0);
}

TEST_F(RunLoopTest, DispatchedWorkRunsOnTheNextTurnNeverInsideTheCall)
{
    int runs = 0;
    loop().dispatch([&] { ++runs; });
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(loop().hasDueWork());
    EXPECT_EQ(loop().runOnce(), 1u);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(loop().hasDueWork());
}

TEST_F(RunLoopTest, WorkQueuedDuringATurnWaitsForTheNextTurnButRunUntilIdleRunsIt)
{
    std::vector<int> order;
    loop().dispatch([&] {
        order.push_back(1);
        loop().dispatch([&] {
            order.push_back(2);
            loop().dispatch([&] { order.push_back(3); });
        });
    });
    loop().runOnce();
    EXPECT_EQ(order, (std::vector<int> { 1 }));
    EXPECT_TRUE(loop().runUntilIdle());
    EXPECT_EQ(order, (std::vector<int> { 1, 2, 3 }));
    EXPECT_TRUE(loop().isIdle());
}

TEST_F(RunLoopTest, RunUntilIdleGivesUpOnWorkThatKeepsRequeueingItself)
{
    size_t runs = 0;
    std::function<void()> again = [&] {
        ++runs;
        loop().dispatch(again);
    };
    loop().dispatch(again);
    EXPECT_FALSE(loop().runUntilIdle());
    EXPECT_EQ(runs, RunLoop::maxIdleTurns);
    // advanceBy must not hang on it either.
    loop().advanceBy(1_s);
    loop().discardPendingWork();
}

TEST_F(RunLoopTest, CancelledWorkNeverRunsEvenWhenCancelledByWorkOfTheSameTurn)
{
    int runs = 0;
    RunLoop::Handle later = loop().dispatchAfter(0.1_s, [&] { runs += 100; });
    RunLoop::Handle victim;
    loop().dispatchAfter(0.2_s, [&] { victim.cancel(); });
    victim = loop().dispatchAfter(0.2_s, [&] { runs += 1; });

    EXPECT_TRUE(later.isPending());
    later.cancel();
    later.cancel(); // twice is harmless
    EXPECT_FALSE(later.isPending());

    loop().advanceBy(1_s);
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(victim.isPending());
    EXPECT_EQ(loop().pendingWorkCount(), 0u);
}

TEST_F(RunLoopTest, RepeatingTimerFiresEveryIntervalUntilItCancelsItself)
{
    std::vector<double> firedAt;
    RunLoop::Handle timer;
    timer = loop().addTimer(0.1_s, RunLoop::Repeats::Yes, [&] {
        firedAt.push_back(elapsed());
        if (firedAt.size() == 4)
            timer.cancel();
    });
    loop().advanceBy(1_s);
    ASSERT_EQ(firedAt.size(), 4u);
    EXPECT_NEAR(firedAt[0], 0.1, 1e-9);
    EXPECT_NEAR(firedAt[3], 0.4, 1e-9);
    EXPECT_FALSE(timer.isPending());
}

TEST_F(RunLoopTest, RepeatingTimerWithZeroIntervalCannotStarveTheLoop)
{
    size_t fires = 0;
    RunLoop::Handle timer = loop().addTimer(0_s, RunLoop::Repeats::Yes, [&] { ++fires; });
    EXPECT_TRUE(loop().runUntilIdle());
    EXPECT_EQ(fires, 0u);
    loop().advanceBy(1_ms);
    // Floored at 0.1 ms: about ten fires in a millisecond, not an endless burst.
    EXPECT_GE(fires, 9u);
    EXPECT_LE(fires, 11u);
    timer.cancel();
}

TEST_F(RunLoopTest, ReportsWhenTheNextTimerIsDue)
{
    EXPECT_FALSE(loop().timeUntilNextTimer().has_value());
    loop().dispatchAfter(0.35_s, [] { });
    loop().dispatchAfter(2_s, [] { });
    ASSERT_TRUE(loop().timeUntilNextTimer().has_value());
    EXPECT_DOUBLE_EQ(loop().timeUntilNextTimer()->value(), 0.35);
    EXPECT_FALSE(loop().hasDueWork());
    m_clock->advance(0.5_s);
    EXPECT_TRUE(loop().hasDueWork());
    EXPECT_DOUBLE_EQ(loop().timeUntilNextTimer()->value(), 0.0);
    EXPECT_FALSE(loop().isIdle());
}

TEST_F(RunLoopTest, SwappingTheClockKeepsTheTimeWorkHadLeft)
{
    int runs = 0;
    m_clock->advance(100_s);
    loop().dispatchAfter(0.5_s, [&] { ++runs; });
    auto fresh = VirtualClock::create();
    loop().setClock(fresh);
    EXPECT_DOUBLE_EQ(loop().timeUntilNextTimer()->value(), 0.5);
    loop().advanceBy(0.4_s);
    EXPECT_EQ(runs, 0);
    loop().advanceBy(0.1_s);
    EXPECT_EQ(runs, 1);
}

TEST_F(RunLoopTest, SourceHandlerRunsWhenItsDescriptorIsReadableAndStopsWithItsToken)
{
    Pipe pipe;
    std::string received;
    ObserverToken token = loop().addSource(pipe.readEnd(), [&] { received += pipe.drain(); });

    EXPECT_TRUE(loop().isIdle());
    EXPECT_EQ(loop().runOnce(), 0u);
    pipe.write('a');
    EXPECT_TRUE(loop().hasReadySource());
    EXPECT_EQ(loop().runOnce(), 1u);
    EXPECT_EQ(received, "a");

    token.reset();
    pipe.write('b');
    EXPECT_EQ(loop().runOnce(), 0u);
    EXPECT_EQ(received, "a");
}

TEST_F(RunLoopTest, SourceHandlersMayRemoveThemselvesAndEachOther)
{
    Pipe first;
    Pipe second;
    int firstRuns = 0;
    int secondRuns = 0;
    ObserverToken secondToken;
    ObserverToken firstToken = loop().addSource(first.readEnd(), [&] {
        ++firstRuns;
        first.drain();
        secondToken.reset(); // the other one, already found readable in this turn
        firstToken.reset(); // and itself
    });
    secondToken = loop().addSource(second.readEnd(), [&] {
        ++secondRuns;
        second.drain();
    });
    first.write('x');
    second.write('y');
    loop().runOnce();
    loop().runOnce();
    EXPECT_EQ(firstRuns, 1);
    EXPECT_EQ(secondRuns, 0);
}

TEST_F(RunLoopTest, WaitingEndsWhenASourceBecomesReadable)
{
    Pipe pipe;
    bool handled = false;
    ObserverToken token = loop().addSource(pipe.readEnd(), [&] {
        pipe.drain();
        handled = true;
        loop().stop();
    });
    // Data arrives from "elsewhere" before the loop waits; run() must see it and stop.
    pipe.write('z');
    loop().run();
    EXPECT_TRUE(handled);
}

TEST_F(RunLoopTest, RunReturnsWhenNothingCouldEverWakeIt)
{
    // A virtual clock with only a future timer: waiting cannot help, so run() must not block.
    loop().dispatchAfter(5_s, [] { });
    loop().run();
    EXPECT_EQ(loop().pendingWorkCount(), 1u);
}
