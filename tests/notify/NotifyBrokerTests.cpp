#include "NotifyTestSupport.h"

#include <foundation/RunLoop.h>
#include <notify/Broker.h>
#include <notify/CFNotificationCenter.h>
#include <notify/Protocol.h>
#include <support/UnixSocket.h>
#include <notify/notify.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <vector>

using namespace notify;
using namespace notifytest;

namespace {

struct Recorder {
    std::vector<std::string> names;
    bool calledOutsideLoop { false };
};

// Set while this process is inside a run-loop turn, to prove where callbacks run.
bool insideRunLoop = false;

void recordCallback(CFNotificationCenterRef, void* observer, CFStringRef name, const void*, CFDictionaryRef)
{
    auto* recorder = static_cast<Recorder*>(observer);
    recorder->names.emplace_back(name);
    if (!insideRunLoop)
        recorder->calledOutsideLoop = true;
}

void observe(Recorder& recorder, std::string_view name)
{
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &recorder, recordCallback, name, nullptr,
        CFNotificationSuspensionBehaviorDeliverImmediately);
}

// Turns the loop (real clock) until `done` or the patience runs out.
bool runLoopUntil(const std::function<bool()>& done)
{
    double deadline = now() + patience;
    while (!done() && now() < deadline) {
        insideRunLoop = true;
        foundation::RunLoop::main().runOnce(foundation::Seconds(0.1));
        insideRunLoop = false;
    }
    return done();
}

class BrokerTest : public ::testing::Test {
protected:
    explicit BrokerTest(const std::string& rootSuffix = {})
        : m_root(rootSuffix)
    {
    }

    void SetUp() override
    {
        foundation::DeviceRoot::set(m_root.path());
        DarwinNotifyCenter::shared().disconnect();
        foundation::RunLoop::main().discardPendingWork();
        foundation::RunLoop::main().setClock(foundation::RealClock::create());
        m_broker = std::make_unique<BrokerProcess>(m_root.path());
        ASSERT_TRUE(m_broker->waitUntilReady()) << "notifyd did not start at " << m_broker->socketPath();
    }
    void TearDown() override
    {
        CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), &m_recorder);
        DarwinNotifyCenter::shared().disconnect();
        foundation::RunLoop::main().discardPendingWork();
        m_broker.reset();
    }

    // A child that subscribes to `name`, says "ready", then does what `afterReady` says.
    pid_t startSubscriber(const std::string& name, Channel& toParent, Channel& toChild, const std::function<int(Recorder&)>& afterReady)
    {
        return forkChild([&, name] {
            toParent.closeRead();
            toChild.closeWrite();
            Recorder recorder;
            observe(recorder, name);
            if (!DarwinNotifyCenter::shared().isConnected())
                return 3;
            toParent.send("ready");
            return afterReady(recorder);
        });
    }

    // After the child said "ready" its REG has been written; a STATUS round trip makes sure the
    // broker has handled it before the test posts.
    void expectReady(Channel& fromChild)
    {
        ASSERT_EQ(fromChild.receive(), "ready");
        ASSERT_TRUE(m_broker->pending().has_value());
    }

    TemporaryRoot m_root;
    std::unique_ptr<BrokerProcess> m_broker;
    Recorder m_recorder;
};

}

TEST_F(BrokerTest, PostInOneProcessReachesAnObserverInAnotherOnItsRunLoop)
{
    Channel toParent;
    Channel toChild;
    pid_t child = startSubscriber("com.qelvo.torvane.new.preview", toParent, toChild, [&](Recorder& recorder) {
        runLoopUntil([&] { return !recorder.names.empty(); });
        if (recorder.names.empty())
            toParent.send("nothing");
        else
            toParent.send("got " + recorder.names.front() + (recorder.calledOutsideLoop ? " outside-loop" : " in-loop"));
        return 0;
    });
    ASSERT_GT(child, 0);
    expectReady(toParent);

    EXPECT_EQ(notify_post("com.qelvo.torvane.new.preview"), NOTIFY_STATUS_OK);
    EXPECT_TRUE(DarwinNotifyCenter::shared().isConnected()) << "the post went to the broker";
    EXPECT_EQ(toParent.receive(), "got com.qelvo.torvane.new.preview in-loop");
    EXPECT_EQ(waitForExit(child), 0);
}

namespace {

// The resident memory of a process, in kilobytes, as /proc tells it; 0 when it cannot be read.
long residentKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}

}

// Ten thousand posts of one name in a burst: the observer sees them merged, every delivery is
// acknowledged, and no process (poster, broker, observer) grows by more than a few megabytes.
TEST_F(BrokerTest, ABurstOfTenThousandPostsLeavesEveryProcessBounded)
{
    constexpr long boundKilobytes = 4096;
    Channel toParent;
    Channel toChild;
    pid_t child = startSubscriber("com.qelvo.burst", toParent, toChild, [&](Recorder& recorder) {
        long before = residentKilobytes(::getpid());
        // Serve the broker until the parent has seen every delivery acknowledged and says so.
        bool told = false;
        runLoopUntil([&] {
            pollfd ready { toChild.readFd(), POLLIN, 0 };
            told = ::poll(&ready, 1, 0) > 0;
            return told;
        });
        toParent.send("grew " + std::to_string(residentKilobytes(::getpid()) - before) + " runs " + std::to_string(recorder.names.size()));
        return told ? 0 : 1;
    });
    ASSERT_GT(child, 0);
    expectReady(toParent);

    long brokerBefore = residentKilobytes(m_broker->pid());
    long posterBefore = residentKilobytes(::getpid());
    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ(notify_post("com.qelvo.burst"), NOTIFY_STATUS_OK);
    EXPECT_EQ(m_broker->waitForPending(0), std::optional<size_t>(0)) << "every delivery acknowledged";
    long brokerGrowth = residentKilobytes(m_broker->pid()) - brokerBefore;
    long posterGrowth = residentKilobytes(::getpid()) - posterBefore;
    toChild.send("measure");
    auto report = toParent.receive();
    ASSERT_TRUE(report);
    long observerGrowth = std::strtol(report->c_str() + 5, nullptr, 10);
    long runs = std::strtol(report->c_str() + report->find("runs ") + 5, nullptr, 10);
    std::cout << "resident growth after 10,000 posts: broker " << brokerGrowth << " kB, poster " << posterGrowth << " kB, observer "
              << observerGrowth << " kB; the observer's callbacks ran " << runs << " times\n";
    EXPECT_LT(brokerGrowth, boundKilobytes);
    EXPECT_LT(posterGrowth, boundKilobytes);
    EXPECT_LT(observerGrowth, boundKilobytes);
    EXPECT_GE(runs, 1);
    EXPECT_LE(runs, 10000);
    EXPECT_EQ(waitForExit(child), 0);
}

TEST_F(BrokerTest, PosterSubscribedToTheNameGetsItBackAndAcknowledges)
{
    observe(m_recorder, "qelvo.nimbrel.apps.loaded");
    notify_post("qelvo.nimbrel.apps.loaded");
    EXPECT_TRUE(m_recorder.names.empty()) << "never inside notify_post";
    // Delivered but not yet handled: the broker counts it as outstanding.
    EXPECT_EQ(m_broker->waitForPending(1), 1u);

    ASSERT_TRUE(runLoopUntil([&] { return !m_recorder.names.empty(); }));
    EXPECT_FALSE(m_recorder.calledOutsideLoop);
    EXPECT_EQ(m_recorder.names, (std::vector<std::string> { "qelvo.nimbrel.apps.loaded" }));
    EXPECT_EQ(m_broker->waitForPending(0), 0u);
    EXPECT_EQ(DarwinNotifyCenter::shared().deliveriesReceivedNotRun(), 0u);
}

TEST_F(BrokerTest, StatusCountsDeliveriesUntilTheirCallbacksHaveRun)
{
    Channel toParent;
    Channel toChild;
    pid_t child = startSubscriber("qelvo.nmbl.reloadinfo", toParent, toChild, [&](Recorder& recorder) {
        if (toChild.receive() != "go")
            return 4;
        runLoopUntil([&] { return !recorder.names.empty(); });
        toParent.send(recorder.names.empty() ? "nothing" : "done");
        // Stay connected until the parent has read the count: a closed connection would drop
        // its outstanding deliveries and hide a missing acknowledgement.
        toChild.receive();
        return 0;
    });
    ASSERT_GT(child, 0);
    expectReady(toParent);

    notify_post("qelvo.nmbl.reloadinfo");
    EXPECT_EQ(m_broker->pending(), 1u);
    toChild.send("go");
    EXPECT_EQ(toParent.receive(), "done");
    EXPECT_EQ(m_broker->waitForPending(0), 0u);
    toChild.send("bye");
    EXPECT_EQ(waitForExit(child), 0);
}

TEST_F(BrokerTest, DisconnectedClientsSubscriptionsAndDeliveriesAreDropped)
{
    Channel toParent;
    Channel toChild;
    pid_t child = startSubscriber("qelvo.nimbrel.check.on.apps", toParent, toChild, [&](Recorder&) {
        toChild.receive(); // never runs its loop, never acknowledges
        return 0;
    });
    ASSERT_GT(child, 0);
    expectReady(toParent);

    notify_post("qelvo.nimbrel.check.on.apps");
    EXPECT_EQ(m_broker->pending(), 1u);

    ::kill(child, SIGKILL);
    waitForExit(child);
    EXPECT_EQ(m_broker->pending(), 0u) << "the dead client's outstanding delivery is forgotten";
    notify_post("qelvo.nimbrel.check.on.apps");
    EXPECT_EQ(m_broker->pending(), 0u) << "and it is no longer subscribed";
}

TEST_F(BrokerTest, UnsubscribedNamesAreNoLongerDelivered)
{
    observe(m_recorder, "A");
    observe(m_recorder, "B");
    CFNotificationCenterRemoveObserver(CFNotificationCenterGetDarwinNotifyCenter(), &m_recorder, CFSTR("A"), nullptr);
    notify_post("A");
    notify_post("B");
    EXPECT_EQ(m_broker->pending(), 1u);
    ASSERT_TRUE(runLoopUntil([&] { return !m_recorder.names.empty(); }));
    EXPECT_EQ(m_recorder.names, (std::vector<std::string> { "B" }));
}

TEST_F(BrokerTest, ClientReconnectsToABrokerThatTookThePlaceOfADeadOne)
{
    observe(m_recorder, "com.qelvo.torvane.reload.settings");
    ASSERT_TRUE(DarwinNotifyCenter::shared().isConnected());
    EXPECT_EQ(m_broker->stop(), 0);
    m_broker = std::make_unique<BrokerProcess>(m_root.path());
    ASSERT_TRUE(m_broker->waitUntilReady());

    // Posted before the loop noticed the old connection closing.
    notify_post("com.qelvo.torvane.reload.settings");
    EXPECT_EQ(m_broker->waitForPending(1), 1u) << "the post and the subscription reached the new broker";
    ASSERT_TRUE(runLoopUntil([&] { return !m_recorder.names.empty(); }));
    EXPECT_EQ(m_broker->waitForPending(0), 0u);
}

TEST_F(BrokerTest, ClientThatSendsAnEndlessLineIsDisconnectedAndOthersAreServed)
{
    int fd = support::UnixSocket::connect(m_broker->socketPath());
    ASSERT_GE(fd, 0);
    std::string flood(protocol::maxLineLength * 4, 'a');
    support::UnixSocket::sendAll(fd, flood);
    pollfd ready { fd, POLLIN, 0 };
    ASSERT_EQ(::poll(&ready, 1, static_cast<int>(patience * 1000)), 1);
    char byte;
    // End of file, or a reset since the broker closed with our flood unread.
    EXPECT_LE(::recv(fd, &byte, 1, 0), 0) << "the broker closed the connection";
    ::close(fd);
    EXPECT_EQ(m_broker->pending(), 0u);
}

TEST_F(BrokerTest, StrayAcknowledgementsAndUnknownVerbsChangeNothing)
{
    int fd = support::UnixSocket::connect(m_broker->socketPath());
    ASSERT_GE(fd, 0);
    support::UnixSocket::sendAll(fd, "ACK\nACK\nHELLO there\nREG\nPOST\n\n");
    Channel toParent;
    Channel toChild;
    pid_t child = startSubscriber("N", toParent, toChild, [&](Recorder&) {
        toChild.receive();
        return 0;
    });
    expectReady(toParent);
    notify_post("N");
    EXPECT_EQ(m_broker->pending(), 1u) << "stray ACKs from another client must not cancel this delivery";
    toChild.send("bye");
    EXPECT_EQ(waitForExit(child), 0);
    ::close(fd);
}

TEST_F(BrokerTest, NotifydRemovesItsSocketOnTermination)
{
    std::string path = m_broker->socketPath();
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(m_broker->stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(BrokerTest, SecondBrokerRefusesALiveSocketButReplacesAStaleOne)
{
    BrokerProcess second(m_root.path());
    EXPECT_EQ(second.waitForExitByItself(), 1) << "a second broker must not take over a live one";
    EXPECT_EQ(m_broker->pending(), 0u) << "the first one still serves";

    // A broker killed outright leaves its socket file behind.
    ::kill(m_broker->pid(), SIGKILL);
    m_broker->stop();
    ASSERT_TRUE(std::filesystem::exists(m_broker->socketPath()));
    BrokerProcess third(m_root.path());
    EXPECT_TRUE(third.waitUntilReady());
}

TEST_F(BrokerTest, ForkedChildGetsAConnectionOfItsOwn)
{
    observe(m_recorder, "P");
    ASSERT_TRUE(DarwinNotifyCenter::shared().isConnected());
    Channel toParent;
    Channel toChild;
    pid_t child = forkChild([&] {
        toParent.send(DarwinNotifyCenter::shared().isConnected() ? "inherited" : "fresh");
        // The parent's observer came along with the fork; it must not pull the parent's "P" here.
        CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), &m_recorder);
        Recorder recorder;
        observe(recorder, "C");
        toParent.send("ready");
        runLoopUntil([&] { return !recorder.names.empty(); });
        toParent.send(recorder.names.empty() ? "nothing" : "got " + recorder.names.front());
        return 0;
    });
    ASSERT_GT(child, 0);
    EXPECT_EQ(toParent.receive(), "fresh");
    expectReady(toParent);

    notify_post("C");
    notify_post("P");
    EXPECT_EQ(toParent.receive(), "got C");
    ASSERT_TRUE(runLoopUntil([&] { return !m_recorder.names.empty(); }));
    EXPECT_EQ(m_recorder.names, (std::vector<std::string> { "P" }));
    EXPECT_EQ(waitForExit(child), 0);
    EXPECT_EQ(m_broker->waitForPending(0), 0u);
}

TEST(NotifydLifetime, EndsAndRemovesItsSocketWhenItsParentDies)
{
    TemporaryRoot root;
    std::string socketPath = root.path() + "/var/run/notifyd.sock";
    Channel fromStarter;
    pid_t starter = ::fork();
    ASSERT_GE(starter, 0);
    if (starter == 0) {
        // Starts notifyd, waits until it serves, then exits without stopping it.
        BrokerProcess* broker = new BrokerProcess(root.path());
        fromStarter.send(broker->waitUntilReady() ? std::to_string(broker->pid()) : "failed");
        ::_exit(0);
    }
    auto started = fromStarter.receive();
    ASSERT_TRUE(started && *started != "failed");
    pid_t broker = std::stoi(*started);
    EXPECT_EQ(waitForExit(starter), 0);

    double deadline = now() + patience;
    while (std::filesystem::exists(socketPath) && now() < deadline)
        ::poll(nullptr, 0, 10);
    EXPECT_FALSE(std::filesystem::exists(socketPath)) << "notifyd outlived the process that started it";
    if (::kill(broker, 0) == 0 && std::filesystem::exists(socketPath))
        ::kill(broker, SIGKILL); // don't leave it behind when the check failed
}

// Device roots in build or temporary folders can be longer than a socket address holds.
class LongPathBrokerTest : public BrokerTest {
protected:
    LongPathBrokerTest()
        : BrokerTest("/" + std::string(60, 'd') + "/" + std::string(60, 'e'))
    {
    }
};

TEST_F(LongPathBrokerTest, WorksWhenTheSocketPathIsLongerThanAnAddressHolds)
{
    ASSERT_GT(m_broker->socketPath().size(), 108u);
    observe(m_recorder, "com.qelvo.torvane.reload.settings");
    notify_post("com.qelvo.torvane.reload.settings");
    ASSERT_TRUE(runLoopUntil([&] { return !m_recorder.names.empty(); }));
    EXPECT_EQ(m_broker->waitForPending(0), 0u);
}

TEST(BrokerInProcess, CountsWhatOtherConnectionsAlreadyWroteBeforeAnsweringStatus)
{
    TemporaryRoot root;
    std::string path = root.path() + "/b.sock";
    std::string error;
    auto broker = Broker::create(path, error);
    ASSERT_TRUE(broker) << error;

    // The asker connects first, so a plain round over the connections would reach its STATUS
    // before the others' REG and POSTs.
    int asker = support::UnixSocket::connect(path);
    int subscriber = support::UnixSocket::connect(path);
    int poster = support::UnixSocket::connect(path);
    ASSERT_TRUE(asker >= 0 && subscriber >= 0 && poster >= 0);
    broker->serveOnce(0);
    ASSERT_EQ(broker->connectionCount(), 3u);

    support::UnixSocket::sendAll(subscriber, "REG X\n");
    support::UnixSocket::sendAll(poster, "POST X\nPOST X\n");
    support::UnixSocket::sendAll(asker, "STATUS\n");
    broker->serveOnce(0);

    char buffer[256];
    ssize_t got = ::recv(asker, buffer, sizeof buffer, MSG_DONTWAIT);
    ASSERT_GT(got, 0);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(got)), "PENDING 2\n");
    got = ::recv(subscriber, buffer, sizeof buffer, MSG_DONTWAIT);
    ASSERT_GT(got, 0);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(got)), "NOTE X\nNOTE X\n");

    support::UnixSocket::sendAll(subscriber, "ACK\n");
    broker->serveOnce(0);
    EXPECT_EQ(broker->pendingDeliveries(), 1u);
    support::UnixSocket::sendAll(subscriber, "ACK\nACK\n"); // one too many: never below zero
    broker->serveOnce(0);
    EXPECT_EQ(broker->pendingDeliveries(), 0u);

    ::close(subscriber);
    broker->serveOnce(0);
    EXPECT_EQ(broker->connectionCount(), 2u);
    support::UnixSocket::sendAll(poster, "POST X\n");
    broker->serveOnce(0);
    EXPECT_EQ(broker->pendingDeliveries(), 0u);
    ::close(poster);
    ::close(asker);
}
