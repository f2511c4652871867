#include <runtime/Object.h>
#include <runtime/WeakPtr.h>

#include <gtest/gtest.h>

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
