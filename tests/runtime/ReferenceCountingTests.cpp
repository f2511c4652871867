#include <runtime/Object.h>
#include <runtime/WeakPtr.h>

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

using namespace runtime;

namespace {

class Tracked : public Object {
    TORVANE_OBJECT(Tracked, Object)
public:
    static Ref<Tracked> create(int* deaths) { return adoptRef(*new Tracked(deaths)); }
    ~Tracked() override { ++*m_deaths; }

private:
    explicit Tracked(int* deaths)
        : m_deaths(deaths)
    {
    }
    int* m_deaths;
};
TORVANE_DEFINE_CLASS(Tracked)

}

TEST(ReferenceCounting, CreateStartsAtOneAndLastReleaseDestroys)
{
    int deaths = 0;
    {
        Ref<Tracked> first = Tracked::create(&deaths);
        EXPECT_EQ(first->refCount(), 1u);
        {
            RefPtr<Tracked> second = first;
            Ref<Object> asBase = first;
            EXPECT_EQ(first->refCount(), 3u);
        }
        EXPECT_EQ(first->refCount(), 1u);
        RefPtr<Tracked> moved = std::move(first);
        EXPECT_EQ(moved->refCount(), 1u);
        EXPECT_EQ(deaths, 0);
    }
    EXPECT_EQ(deaths, 1);
}

TEST(ReferenceCounting, RefPtrAssignmentReleasesThePreviousObject)
{
    int deaths = 0;
    RefPtr<Tracked> holder = Tracked::create(&deaths);
    holder = Tracked::create(&deaths);
    EXPECT_EQ(deaths, 1);
    holder = holder; // self-assignment must not free
    EXPECT_EQ(deaths, 1);
    holder = nullptr;
    EXPECT_EQ(deaths, 2);
}

TEST(ReferenceCounting, WeakPtrClearsWhenTheObjectDiesAndSurvivesCopies)
{
    int deaths = 0;
    WeakPtr<Tracked> weak;
    WeakPtr<Tracked> copy;
    {
        Ref<Tracked> strong = Tracked::create(&deaths);
        weak = strong;
        copy = weak;
        EXPECT_EQ(weak.get(), strong.ptr());
        EXPECT_EQ(strong->refCount(), 1u) << "weak references must not own";
    }
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(weak.get(), nullptr);
    EXPECT_EQ(copy.get(), nullptr);
    EXPECT_FALSE(weak.strong());
}

namespace {

class Unrelated : public Object {
    TORVANE_OBJECT(Unrelated, Object)
};
TORVANE_DEFINE_CLASS(Unrelated)

RefPtr<Object> handOut(int* deaths) { return Tracked::create(deaths); }

// Casts keep constness and hand back a pointer only where the caller holds the object itself.
static_assert(std::is_same_v<decltype(dynamicCast<Tracked>(std::declval<Object*>())), Tracked*>);
static_assert(std::is_same_v<decltype(dynamicCast<Tracked>(std::declval<const Object*>())), const Tracked*>);
static_assert(std::is_same_v<decltype(dynamicCast<Tracked>(std::declval<RefPtr<Object>&>())), Tracked*>);
static_assert(std::is_same_v<decltype(dynamicCast<Tracked>(std::declval<const Ref<Object>&>())), Tracked*>);
static_assert(std::is_same_v<decltype(dynamicCast<Tracked>(std::declval<RefPtr<const Object>&>())), const Tracked*>);
static_assert(std::is_same_v<decltype(dynamicCast<Tracked>(handOut(nullptr))), RefPtr<Tracked>>);
static_assert(std::is_same_v<decltype(dynamicCast<Tracked>(std::declval<Ref<Object>>())), RefPtr<Tracked>>);

}

TEST(ReferenceCounting, CastOfAReturnedReferenceKeepsTheObject)
{
    int deaths = 0;
    {
        auto cast = dynamicCast<Tracked>(handOut(&deaths));
        ASSERT_TRUE(cast);
        EXPECT_EQ(deaths, 0) << "the returned reference died with the statement";
        EXPECT_EQ(cast->refCount(), 1u);
        EXPECT_FALSE(dynamicCast<Unrelated>(handOut(&deaths)));
        EXPECT_EQ(deaths, 1) << "a failed cast must not keep the object";
    }
    EXPECT_EQ(deaths, 2);
}
