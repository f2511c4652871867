// The quick killer's event: one memory probe of a live process (the `ps | gawk` pipeline, the
// cost the popup cannot avoid), and the whole popup built for 20 running applications with a
// companion file of 500 records (the argument is the number of applications). Everything but the 20 probes may cost a tenth of what they do.

#include "Benchmarks.h"

#include "BenchDevice.h"
#include "Budget.h"

#include <SavedSwipeSettings.h>
#include <SharedNames.h>
#include <TorvaneActivatorSetup.h>

#include <foundation/NSArray.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <springboard/SBApplication.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace bench {

namespace {

constexpr size_t companionRecords = 500;

// Processes that only wait, for the probe to measure; ended and reaped with the object.
class WaitingProcesses {
public:
    explicit WaitingProcesses(size_t count)
    {
        for (size_t i = 0; i < count; ++i) {
            pid_t pid = ::fork();
            if (pid < 0)
                throw std::runtime_error("fork failed");
            if (pid == 0) {
                for (;;)
                    ::pause();
            }
            m_pids.push_back(pid);
        }
    }
    ~WaitingProcesses()
    {
        for (pid_t pid : m_pids) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    WaitingProcesses(const WaitingProcesses&) = delete;
    WaitingProcesses& operator=(const WaitingProcesses&) = delete;

    pid_t operator[](size_t index) const { return m_pids.at(index); }

private:
    std::vector<pid_t> m_pids;
};

// The probes the popup makes, one per listed process, made again on their own.
Budget::Clock::duration timeOfProbes(const WaitingProcesses& processes, size_t count)
{
    auto started = Budget::Clock::now();
    for (size_t i = 0; i < count; ++i)
        benchmark::DoNotOptimize(tweak::SavedSwipeSettings::getMemUsingAndCPUWithPID(processes[i]));
    return Budget::Clock::now() - started;
}

// The companion's data file: the device's applications first, then records of applications that
// are no longer installed, as a file the companion has kept over a long time holds.
void writeCompanionFile(const BenchDevice& device)
{
    foundation::NSArray::Storage records;
    for (size_t i = 0; i < companionRecords; ++i) {
        std::string identifier = i < device.applicationCount() ? BenchDevice::bundleIdentifier(i) : "com.bench.gone" + std::to_string(i);
        records.push_back(foundation::NSDictionary::create({
            { torvane::CompanionRecord::bundleIdentifier, foundation::NSStr(identifier) },
            { torvane::CompanionRecord::name, foundation::NSStr("App " + std::to_string(i)) },
            { torvane::CompanionRecord::iconPath, foundation::NSStr("/var/mobile/Library/Nimbrel/Icons/" + identifier + ".png") },
            { torvane::CompanionRecord::isFolder, foundation::NSNumber::numberWithBool(false) },
        }));
    }
    auto root = foundation::NSDictionary::create({ { torvane::CompanionRecord::applications, foundation::NSArray::create(std::move(records)) } });
    std::filesystem::create_directories(device.hostPath("/var/mobile/Library/Nimbrel/Icons"));
    if (!root->writeToFile(torvane::companionDataPath, true))
        throw std::runtime_error("cannot write the companion file");
}

}

void memoryProbe(benchmark::State& state)
{
    WaitingProcesses child(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(tweak::SavedSwipeSettings::getMemUsingAndCPUWithPID(child[0]));
}

void popupBuild(benchmark::State& state)
{
    auto popupApplications = static_cast<size_t>(state.range(0));
    BenchDevice device({ .applications = 100 });
    writeCompanionFile(device);
    WaitingProcesses children(popupApplications);
    for (size_t i = 0; i < popupApplications; ++i)
        device.application(i).setPid(children[i]);
    device.startApplications(popupApplications);
    auto listener = tweak::TorvaneActivatorSetup::create();

    // The probes' own time is measured beside every build, under the same conditions, since a
    // `ps` pipeline's time moves with whatever else the machine does.
    Budget::Clock::duration probes {};
    Budget budget(state, {});
    for (auto _ : state) {
        budget.start();
        listener->startPreparingForPopup();
        budget.stop();
        state.PauseTiming();
        if (!listener->appsTable()) {
            state.SkipWithError("no popup was shown");
            break;
        }
        listener->killTheAlertNow();
        probes += timeOfProbes(children, popupApplications);
        state.ResumeTiming();
    }
    auto iterations = std::max<benchmark::IterationCount>(state.iterations(), 1);
    auto probesPerBuild = std::chrono::duration_cast<std::chrono::nanoseconds>(probes) / iterations;
    state.counters["probes_us"] = static_cast<double>(probesPerBuild.count()) / 1000;
    Budget rest(state, probesPerBuild / 10);
    rest.report(budget.spentPerIteration() - probesPerBuild);
    state.SetLabel("budget on everything but the probes");
}

}
