// What one call of a hooked operation costs, as SpringBoard makes on every touch: naming the
// selector on each call (interning it under the selector table's lock) against sending through the
// operation, which interned its selector once. Both run through an add-on's replacement that calls
// the original.

#include <runtime/MessageSend.h>
#include <substrate/Hook.h>

#include <benchmark/benchmark.h>

namespace {

constinit const runtime::Operation<int(int value)> stepOperation { "benchmarkStep:" };

class Stepper : public runtime::Object {
    TORVANE_OBJECT(Stepper, runtime::Object)
public:
    static runtime::Ref<Stepper> create() { return runtime::adoptRef(*new Stepper); }
    static void registerMethods(runtime::Class& cls) { cls.addMethod(stepOperation, step); }

private:
    Stepper() = default;
    static int step(runtime::Object*, runtime::Selector, int value) { return value + 1; }
};
TORVANE_DEFINE_CLASS_WITH_METHODS(Stepper, Stepper::registerMethods)

decltype(stepOperation)::Implementation g_original;

int replacement(runtime::Object* self, runtime::Selector selector, int value) { return g_original(self, selector, value) * 2; }

void hookOnce()
{
    static bool hooked = false;
    if (!hooked)
        MSHookMessageEx(&Stepper::staticClass(), stepOperation, replacement, &g_original);
    hooked = true;
}

void SelectorNamedOnEveryCall(benchmark::State& state)
{
    hookOnce();
    auto stepper = Stepper::create();
    int value = 0;
    for (auto _ : state) {
        runtime::Selector selector = runtime::sel("benchmarkStep:");
        auto implementation = reinterpret_cast<decltype(stepOperation)::Implementation>(stepper->objcClass().lookup(selector));
        value = implementation(stepper.ptr(), selector, value) & 0xff;
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(SelectorNamedOnEveryCall);

void SendThroughOperation(benchmark::State& state)
{
    hookOnce();
    auto stepper = Stepper::create();
    int value = 0;
    for (auto _ : state) {
        value = stepOperation.send(stepper.ptr(), value) & 0xff;
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(SendThroughOperation);

}
