// torvane-bench: the paths a SpringBoard user feels, each on a SpringBoard host in this process with
// the add-on loaded (see BenchDevice.h), each with its budget printed beside its time (Budget.h).
//
//   build-release/bin/torvane-bench [--benchmark_filter=REGEX] [any Google Benchmark flag]
//
// The cases are registered here, in this order, because the first must run before the add-on's
// hooks exist and nothing can take them out again.

#include "Benchmarks.h"

int main(int argc, char** argv)
{
    using namespace bench;
    using benchmark::kMicrosecond;
    using benchmark::kMillisecond;

    benchmark::RegisterBenchmark("BM_TouchMoved/host", touchMovedHost);
    benchmark::RegisterBenchmark("BM_TouchMoved/hooked", touchMovedHooked);
    benchmark::RegisterBenchmark("BM_StateChange", stateChange)->Arg(100)->Arg(300)->Unit(kMicrosecond);
    benchmark::RegisterBenchmark("BM_SettingsReload", settingsReload)->Arg(300)->Unit(kMicrosecond);
    benchmark::RegisterBenchmark("BM_Probe", memoryProbe)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("BM_PopupBuild", popupBuild)->Arg(20)->Unit(kMillisecond)->Iterations(10);
    benchmark::RegisterBenchmark("BM_RenderHome", renderHome)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("BM_Screenshot", screenshot)->ArgName("scale")->Arg(2)->Arg(1)->Unit(kMillisecond);
    benchmark::RegisterBenchmark("BM_PrefsMerge", preferencesMerge)->Unit(kMicrosecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
