#include <substrate/Hook.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace runtime;

namespace {

std::vector<std::string> g_calls;

constinit const Operation<int(int code)> lockOperation { "lock:" };

class Lock : public Object {
    TORVANE_OBJECT(Lock, Object)
public:
    static Ref<Lock> create() { return adoptRef(*new Lock); }
    // Hosts call hookable operations through the method table, never directly.
    int lock(int code) { return lockOperation.send(this, code); }

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

void setUpLock(Class& cls) { cls.addMethod(lockOperation, lockOriginal); }

TORVANE_DEFINE_CLASS_WITH_METHODS(Lock, setUpLock)
TORVANE_DEFINE_CLASS(FancyLock)

Implementation<int, int> g_keptLock;

int deviceIsLocking(Object* self, Selector selector, int code)
{
    g_calls.push_back("replacement");
    return g_keptLock(self, selector, code) * 10;
}

long lockWithWrongResult(Object*, Selector, int code) { return code; }
int lockWithWrongArgument(Object*, Selector, long code) { return static_cast<int>(code); }

template<typename Replacement>
concept RegistersAsLock = requires(Class& cls, Replacement replacement) { cls.addMethod(lockOperation, replacement); };
template<typename Replacement, typename Original>
concept HooksLock = requires(Replacement replacement, Original* original) { MSHookMessageEx(nullptr, lockOperation, replacement, original); };
template<typename... Args>
concept SendsToLock = requires(Object* self, Args... args) { msgSend(lockOperation, self, args...); };

// An implementation, replacement or kept original of another signature, or a send with arguments
// the operation does not take, is refused by the compiler rather than crashing at run time.
static_assert(RegistersAsLock<decltype(&lockOriginal)>);
static_assert(!RegistersAsLock<decltype(&lockWithWrongResult)>);
static_assert(!RegistersAsLock<decltype(&lockWithWrongArgument)>);
static_assert(HooksLock<decltype(&deviceIsLocking), Implementation<int, int>>);
static_assert(!HooksLock<decltype(&lockWithWrongArgument), Implementation<int, long>>);
static_assert(!HooksLock<decltype(&deviceIsLocking), Implementation<long, int>>);
static_assert(SendsToLock<int>);
static_assert(!SendsToLock<>);
static_assert(!SendsToLock<const char*>);
static_assert(!SendsToLock<int, int>);

}

TEST(Hook, ReplacementByNameRunsForClassAndSubclassAndChainsToOriginal)
{
    g_calls.clear();
    // An add-on names the class and the selector as text; it must meet the host's typed operation.
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
    MSHookMessageEx(&FancyLock::staticClass(), lockOperation, +replacement, &kept);
    ASSERT_NE(kept, nullptr);
    Ref<FancyLock> fancy = FancyLock::create();
    EXPECT_EQ(fancy->lock(3), 300);
    // What was handed back is the superclass's implementation, which the superclass keeps.
    EXPECT_EQ(toIMP(kept), Lock::staticClass().lookup(lockOperation.selector()));
}

TEST(Hook, MissingClassIsRefusedWithoutCrashing)
{
    Implementation<int, int> kept = reinterpret_cast<Implementation<int, int>>(1);
    MSHookMessageEx(NSClassFromString("NoSuchClass"), lockOperation, deviceIsLocking, &kept);
    EXPECT_EQ(kept, nullptr);
}
