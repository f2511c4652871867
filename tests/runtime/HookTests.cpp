#include <substrate/Hook.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace runtime;

namespace {

std::vector<std::string> g_calls;

class Lock : public Object {
    TORVANE_OBJECT(Lock, Object)
public:
    static Ref<Lock> create() { return adoptRef(*new Lock); }
    // Hosts call hookable operations through the method table, never directly.
    int lock(int code) { return msgSend<int>(this, sel("lock:"), code); }

protected:
    Lock() = default;
};

class FancyLock : public Lock {
    TORVANE_OBJECT(FancyLock, Lock)
public:
    static Ref<FancyLock> create() { return adoptRef(*new FancyLock); }
};

int lockOriginal(Object*, Selector, int code)
{
    g_calls.push_back("original");
    return code + 1;
}

void setUpLock(Class& cls) { cls.addMethod(sel("lock:"), toIMP<int, int>(lockOriginal)); }

TORVANE_DEFINE_CLASS_WITH_METHODS(Lock, setUpLock)
TORVANE_DEFINE_CLASS(FancyLock)

Implementation<int, int> g_keptLock;

int deviceIsLocking(Object* self, Selector selector, int code)
{
    g_calls.push_back("replacement");
    return g_keptLock(self, selector, code) * 10;
}

}

TEST(Hook, ReplacementRunsForClassAndSubclassAndChainsToOriginal)
{
    g_calls.clear();
    MSHookMessageEx<int, int>(NSClassFromString("Lock"), sel("lock:"), deviceIsLocking, &g_keptLock);
    ASSERT_NE(g_keptLock, nullptr);

    Ref<Lock> plain = Lock::create();
    EXPECT_EQ(plain->lock(1), 20);
    Ref<FancyLock> fancy = FancyLock::create();
    EXPECT_EQ(fancy->lock(2), 30) << "a subclass without its own implementation runs the replacement";
    EXPECT_EQ(g_calls, (std::vector<std::string> { "replacement", "original", "replacement", "original" }));
}

TEST(Hook, HookingAnInheritedOperationCallsThroughToTheSuperclass)
{
    Implementation<int, int> kept = nullptr;
    auto replacement = [](Object*, Selector, int code) { return code * 100; };
    MSHookMessageEx<int, int>(&FancyLock::staticClass(), sel("lock:"), +replacement, &kept);
    ASSERT_NE(kept, nullptr);
    Ref<FancyLock> fancy = FancyLock::create();
    EXPECT_EQ(fancy->lock(3), 300);
    // What was handed back is the superclass's implementation, which the superclass keeps.
    EXPECT_EQ(toIMP(kept), Lock::staticClass().lookup(sel("lock:")));
}

TEST(Hook, MissingClassIsRefusedWithoutCrashing)
{
    Implementation<int, int> kept = reinterpret_cast<Implementation<int, int>>(1);
    MSHookMessageEx<int, int>(NSClassFromString("NoSuchClass"), sel("lock:"), deviceIsLocking, &kept);
    EXPECT_EQ(kept, nullptr);
}
