#include <foundation/NSNotificationCenter.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace foundation;
using runtime::Object;
using runtime::Ref;
using runtime::RefPtr;

namespace {

class Sender : public Object {
    TORVANE_OBJECT(Sender, Object)
public:
    static Ref<Sender> create() { return runtime::adoptRef(*new Sender); }

private:
    Sender() = default;
};
TORVANE_DEFINE_CLASS(Sender)

class NotificationCenterTest : public ::testing::Test {
protected:
    Ref<NSNotificationCenter> center = NSNotificationCenter::create();
    std::vector<std::string> calls;

    NSNotificationCenter::Handler record(std::string label)
    {
        return [this, label](NSNotification&) { calls.push_back(label); };
    }
};

}

TEST_F(NotificationCenterTest, NameAndObjectFiltersSelectWhichObserversAreCalled)
{
    auto first = Sender::create();
    auto second = Sender::create();
    auto any = center->addObserver("", nullptr, record("any"));
    auto byName = center->addObserver("DashmereHideAllViews", nullptr, record("name"));
    auto byObject = center->addObserver("", first.ptr(), record("object"));
    auto byBoth = center->addObserver("DashmereHideAllViews", first.ptr(), record("both"));

    center->postNotificationName("DashmereHideAllViews", first);
    EXPECT_EQ(calls, (std::vector<std::string> { "any", "name", "object", "both" }));

    calls.clear();
    center->postNotificationName("DashmereHideAllViews", second);
    EXPECT_EQ(calls, (std::vector<std::string> { "any", "name" }));

    calls.clear();
    center->postNotificationName("Other", first);
    EXPECT_EQ(calls, (std::vector<std::string> { "any", "object" }));

    calls.clear();
    center->postNotificationName("Other");
    EXPECT_EQ(calls, (std::vector<std::string> { "any" }));
}

TEST_F(NotificationCenterTest, ObjectFilterComparesIdentityNotEquality)
{
    auto a = NSString::create("same");
    auto b = NSString::create("same");
    ASSERT_TRUE(a->isEqual(b.ptr()));
    auto token = center->addObserver("N", a.ptr(), record("a"));
    center->postNotificationName("N", b);
    EXPECT_TRUE(calls.empty());
    center->postNotificationName("N", a);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(NotificationCenterTest, ObserverOfADeadObjectMatchesNothingAfterwards)
{
    auto token = [&] {
        auto doomed = Sender::create();
        return center->addObserver("N", doomed.ptr(), record("doomed"));
    }();
    // Whatever object is posted now, even one reusing the address, must not reach it.
    for (int i = 0; i < 8; ++i)
        center->postNotificationName("N", Sender::create());
    center->postNotificationName("N");
    EXPECT_TRUE(calls.empty());
}

TEST_F(NotificationCenterTest, TokenUnregistersWhenDestroyedOrReset)
{
    {
        auto scoped = center->addObserver("N", nullptr, record("scoped"));
        EXPECT_EQ(center->observerCount(), 1u);
    }
    EXPECT_EQ(center->observerCount(), 0u);

    auto token = center->addObserver("N", nullptr, record("reset"));
    ObserverToken moved = std::move(token);
    EXPECT_FALSE(token.isActive());
    token.reset(); // a moved-from token owns nothing
    EXPECT_EQ(center->observerCount(), 1u);
    moved.reset();
    center->postNotificationName("N");
    EXPECT_TRUE(calls.empty());
}

TEST_F(NotificationCenterTest, ObserverMayRemoveItselfOrALaterObserverDuringAPost)
{
    ObserverToken self;
    ObserverToken later;
    self = center->addObserver("N", nullptr, [&](NSNotification&) {
        calls.push_back("self");
        self.reset();
    });
    auto remover = center->addObserver("N", nullptr, [&](NSNotification&) {
        calls.push_back("remover");
        later.reset();
    });
    later = center->addObserver("N", nullptr, record("later"));

    center->postNotificationName("N");
    EXPECT_EQ(calls, (std::vector<std::string> { "self", "remover" }));
    calls.clear();
    center->postNotificationName("N");
    EXPECT_EQ(calls, (std::vector<std::string> { "remover" }));
}

TEST_F(NotificationCenterTest, ObserverAddedDuringAPostIsCalledOnlyByLaterPosts)
{
    std::vector<ObserverToken> added;
    auto adder = center->addObserver("N", nullptr, [&](NSNotification&) {
        calls.push_back("adder");
        added.push_back(center->addObserver("N", nullptr, record("added")));
    });
    center->postNotificationName("N");
    EXPECT_EQ(calls, (std::vector<std::string> { "adder" }));
    calls.clear();
    center->postNotificationName("N");
    EXPECT_EQ(calls, (std::vector<std::string> { "adder", "added" }));
}

TEST_F(NotificationCenterTest, ObjectAndUserInfoReachTheObserver)
{
    auto sender = Sender::create();
    NSDictionary::Storage entries;
    entries.emplace("BundleID", NSString::create("com.apple.mobilesafari"));
    entries.emplace("ToFadeIn", NSNumber::numberWithBool(true));
    auto info = NSDictionary::create(std::move(entries));

    RefPtr<Object> seenObject;
    std::string seenBundle;
    bool seenFade = false;
    auto token = center->addObserver("DashmereUpdateVisibility", nullptr, [&](NSNotification& note) {
        seenObject = note.object();
        ASSERT_TRUE(note.userInfo());
        seenBundle = note.userInfo()->stringForKey("BundleID")->string();
        seenFade = note.userInfo()->numberForKey("ToFadeIn")->boolValue();
    });
    center->postNotificationName("DashmereUpdateVisibility", sender, info);
    EXPECT_EQ(seenObject.get(), sender.ptr());
    EXPECT_EQ(seenBundle, "com.apple.mobilesafari");
    EXPECT_TRUE(seenFade);
}

TEST_F(NotificationCenterTest, NestedPostsDeliverInsideTheOuterHandler)
{
    auto outer = center->addObserver("Outer", nullptr, [&](NSNotification&) {
        calls.push_back("outer-begin");
        center->postNotificationName("Inner");
        calls.push_back("outer-end");
    });
    auto inner = center->addObserver("Inner", nullptr, record("inner"));
    center->postNotificationName("Outer");
    EXPECT_EQ(calls, (std::vector<std::string> { "outer-begin", "inner", "outer-end" }));
}

TEST(NotificationCenterDefault, IsOneSharedCentre)
{
    EXPECT_EQ(&NSNotificationCenter::defaultCenter(), &NSNotificationCenter::defaultCenter());
    int calls = 0;
    auto token = NSNotificationCenter::defaultCenter().addObserver("TorvaneSuicide", nullptr, [&](NSNotification&) { ++calls; });
    NSNotificationCenter::defaultCenter().postNotificationName("TorvaneSuicide");
    EXPECT_EQ(calls, 1);
}
