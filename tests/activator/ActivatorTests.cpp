#include <activator/LAActivator.h>
#include <foundation/DeviceRoot.h>
#include <foundation/NSDictionary.h>
#include <runtime/WeakPtr.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using activator::LAActivator;
using activator::LAEvent;
using runtime::Ref;

namespace {

// Records what reached it; marks events handled unless told not to.
class RecordingListener final : public runtime::Object, public activator::LAListener {
    TORVANE_OBJECT(RecordingListener, runtime::Object)
public:
    static Ref<RecordingListener> create(bool handles = true) { return runtime::adoptRef(*new RecordingListener(handles)); }

    void activatorReceiveEvent(LAActivator&, LAEvent& event, const std::string& listenerName) override
    {
        received.push_back(event.name() + "->" + listenerName);
        if (m_handles)
            event.setHandled(true);
    }

    std::vector<std::string> received;

private:
    explicit RecordingListener(bool handles)
        : m_handles(handles)
    {
    }
    bool m_handles;
};

TORVANE_DEFINE_CLASS(RecordingListener)

class Activator : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "activator-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        foundation::DeviceRoot::set(m_root);
        std::filesystem::create_directories(m_root + "/var/mobile/Library/Preferences");
    }
    void TearDown() override
    {
        for (auto& name : activator().listenerNames())
            activator().unregisterListener(name);
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    static LAActivator& activator() { return LAActivator::sharedInstance(); }

    std::string m_root;
};

}

TEST_F(Activator, AssignedEventReachesItsListenerOnly)
{
    auto quickKiller = RecordingListener::create();
    auto other = RecordingListener::create();
    activator().registerListener(quickKiller.get(), "com.example.quick");
    activator().registerListener(other.get(), "com.example.other");

    ASSERT_TRUE(activator().assignEvent("libactivator.statusbar.doubletap", "com.example.quick"));
    auto event = activator().sendEvent("libactivator.statusbar.doubletap");

    EXPECT_TRUE(event->isHandled());
    EXPECT_EQ(quickKiller->received, std::vector<std::string> { "libactivator.statusbar.doubletap->com.example.quick" });
    EXPECT_TRUE(other->received.empty());
    ASSERT_TRUE(activator().assignedListenerNameForEvent(*event));
    EXPECT_EQ(activator().assignedListenerNameForEvent(*event)->string(), "com.example.quick");
}

TEST_F(Activator, EventWithoutAssignmentReachesNoListener)
{
    auto listener = RecordingListener::create();
    activator().registerListener(listener.get(), "com.example.quick");
    activator().assignEvent("libactivator.statusbar.doubletap", "com.example.quick");

    auto event = activator().sendEvent("libactivator.volume.both.press");
    EXPECT_FALSE(event->isHandled());
    EXPECT_TRUE(listener->received.empty());
    EXPECT_FALSE(activator().assignedListenerNameForEvent("libactivator.volume.both.press"));
}

TEST_F(Activator, EventAssignedToAListenerThatIsNotRegisteredGoesNowhere)
{
    activator().assignEvent("libactivator.statusbar.doubletap", "com.example.absent");
    auto event = LAEvent::eventWithName("libactivator.statusbar.doubletap");
    EXPECT_FALSE(activator().sendEventToListener(event));
    EXPECT_FALSE(event->isHandled());
}

TEST_F(Activator, ListenerDecidesWhetherTheEventIsHandled)
{
    auto listener = RecordingListener::create(false);
    activator().registerListener(listener.get(), "com.example.quiet");
    activator().assignEvent("libactivator.statusbar.doubletap", "com.example.quiet");
    auto event = activator().sendEvent("libactivator.statusbar.doubletap");
    EXPECT_EQ(listener->received.size(), 1u);
    EXPECT_FALSE(event->isHandled());

    event->setHandled(true);
    EXPECT_TRUE(event->isHandled());
    event->setHandled(false);
    EXPECT_FALSE(event->isHandled());
}

TEST_F(Activator, AssigningAgainMovesTheEventAndUnassigningClearsIt)
{
    auto first = RecordingListener::create();
    auto second = RecordingListener::create();
    activator().registerListener(first.get(), "com.example.first");
    activator().registerListener(second.get(), "com.example.second");

    activator().assignEvent("libactivator.shake", "com.example.first");
    activator().assignEvent("libactivator.shake", "com.example.second");
    activator().sendEvent("libactivator.shake");
    EXPECT_TRUE(first->received.empty());
    EXPECT_EQ(second->received.size(), 1u);

    ASSERT_TRUE(activator().unassignEvent("libactivator.shake"));
    EXPECT_FALSE(activator().sendEvent("libactivator.shake")->isHandled());
    EXPECT_EQ(second->received.size(), 1u);
}

TEST_F(Activator, AssignmentMadeByAnotherProcessIsSeen)
{
    auto listener = RecordingListener::create();
    activator().registerListener(listener.get(), "com.example.quick");

    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(LAActivator::sharedInstance().assignEvent("libactivator.statusbar.doubletap", "com.example.quick") ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    EXPECT_TRUE(activator().sendEvent("libactivator.statusbar.doubletap")->isHandled());
    EXPECT_EQ(listener->received.size(), 1u);
}

TEST_F(Activator, AssignmentsKeepEachOtherAndSurviveADamagedFile)
{
    std::ofstream(m_root + std::string(LAActivator::assignmentsPath)) << "garbage";
    EXPECT_FALSE(activator().assignedListenerNameForEvent("libactivator.shake"));

    ASSERT_TRUE(activator().assignEvent("libactivator.shake", "com.example.a"));
    ASSERT_TRUE(activator().assignEvent("libactivator.volume.both.press", "com.example.b"));
    EXPECT_EQ(activator().assignedListenerNameForEvent("libactivator.shake")->string(), "com.example.a");
    EXPECT_EQ(activator().assignedListenerNameForEvent("libactivator.volume.both.press")->string(), "com.example.b");
}

TEST_F(Activator, ListenersAreHeldUntilUnregistered)
{
    runtime::WeakPtr<RecordingListener> watched;
    {
        auto listener = RecordingListener::create();
        watched = listener.ptr();
        activator().registerListener(listener.get(), "com.example.kept");
    }
    ASSERT_TRUE(watched);
    activator().assignEvent("libactivator.shake", "com.example.kept");
    EXPECT_TRUE(activator().sendEvent("libactivator.shake")->isHandled());

    activator().unregisterListener("com.example.kept");
    EXPECT_FALSE(watched);
    EXPECT_FALSE(activator().hasListenerWithName("com.example.kept"));
    EXPECT_FALSE(activator().sendEvent("libactivator.shake")->isHandled());
}

TEST_F(Activator, RegisteringANameAgainReplacesTheListener)
{
    auto first = RecordingListener::create();
    auto second = RecordingListener::create();
    activator().registerListener(first.get(), "com.example.name");
    activator().registerListener(second.get(), "com.example.name");
    EXPECT_EQ(first->refCount(), 1u) << "the replaced listener is released";
    activator().assignEvent("libactivator.shake", "com.example.name");
    activator().sendEvent("libactivator.shake");
    EXPECT_TRUE(first->received.empty());
    EXPECT_EQ(second->received.size(), 1u);
}

