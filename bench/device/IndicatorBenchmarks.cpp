// What SpringBoard's main thread spends on the indicators: an application's state change, which
// every indicator hears, and the settings-changed signal, on which every indicator re-reads its
// frame, image and alpha. Forty applications run, as on a busy device.

#include "Benchmarks.h"

#include "BenchDevice.h"
#include "Budget.h"

#include <Dashmere.h>

#include <springboard/SBApplication.h>

namespace bench {

namespace {

constexpr size_t runningApplications = 40;
constexpr std::chrono::microseconds stateChangeBudget { 100 };
constexpr std::chrono::milliseconds settingsReloadBudget { 2 };

}

// One start or end of an application not among the forty, alternately, with range(0) icon views.
void stateChange(benchmark::State& state)
{
    auto views = static_cast<size_t>(state.range(0));
    BenchDevice device({ .applications = BenchDevice::applicationsForIconViews(views) });
    device.startApplications(runningApplications);
    auto& changing = device.application(device.applicationCount() - 1);

    Budget budget(state, stateChangeBudget);
    budget.start();
    bool running = false;
    for (auto _ : state) {
        running = !running;
        changing.setApplicationState(running ? springboard::SBApplicationStateBackground : springboard::SBApplicationStateStopped);
    }
    budget.stop();
    state.counters["indicators"] = static_cast<double>(device.indicatorCount());
    budget.report();
}

// The add-on's handler of the settings-changed Darwin notification: the file read into the cache,
// then every indicator updated.
void settingsReload(benchmark::State& state)
{
    auto views = static_cast<size_t>(state.range(0));
    BenchDevice device({ .applications = BenchDevice::applicationsForIconViews(views) });
    device.startApplications(runningApplications);

    Budget budget(state, settingsReloadBudget);
    budget.start();
    for (auto _ : state)
        tweak::reloadDMRSettings(nullptr, nullptr, {}, nullptr, nullptr);
    budget.stop();
    state.counters["indicators"] = static_cast<double>(device.indicatorCount());
    budget.report();
}

}
