// One touch-moved event on a running application's icon view that triggers nothing: a finger
// resting on the icon and trembling a point sideways, delivered as the screen delivers it, through
// UIApplication to the window and on to the view the touch began on. /host is SpringBoard alone;
// /hooked has the add-on's replacement in front of SpringBoard's own, which may add 200 ns.
//
// Hooks stay for the life of the process, so /host must run before anything installs them: the
// benchmark's main registers it first.

#include "Benchmarks.h"

#include "BenchDevice.h"
#include "Budget.h"

#include <springboard/SBIconView.h>
#include <springboard/SpringBoard.h>
#include <uikit/UIApplication.h>

namespace bench {

namespace {

constexpr std::chrono::nanoseconds hookAllowance { 200 };

// The host's figure, for the hooked case to compare with.
std::chrono::nanoseconds g_hostTouchMoved {};

std::chrono::nanoseconds moveTouches(benchmark::State& state, bool addOn)
{
    BenchDevice device({ .applications = 100, .addOn = addOn });
    device.startApplications(40);
    auto& iconView = device.springBoard().iconViewForTarget("App 10");
    auto centre = iconView.convertPointToView({ iconView.bounds().size.width / 2, iconView.bounds().size.height / 2 }, nullptr);
    auto& application = uikit::UIApplication::sharedApplication();
    if (application.injectTouch(uikit::UITouchPhaseBegan, centre) != &iconView) {
        state.SkipWithError("the touch did not land on the icon view");
        return {};
    }

    Budget budget(state, {});
    budget.start();
    float sideways = 0;
    for (auto _ : state) {
        sideways = 1 - sideways;
        application.injectTouch(uikit::UITouchPhaseMoved, { centre.x + sideways, centre.y });
    }
    budget.stop();
    application.injectTouch(uikit::UITouchPhaseEnded, centre);
    return budget.spentPerIteration();
}

}

void touchMovedHost(benchmark::State& state)
{
    if (hooksInstalled()) {
        state.SkipWithError("the add-on's hooks are already installed; run BM_TouchMoved/host first");
        return;
    }
    g_hostTouchMoved = moveTouches(state, false);
}

void touchMovedHooked(benchmark::State& state)
{
    auto spent = moveTouches(state, true);
    if (g_hostTouchMoved.count() == 0) {
        state.SetLabel("no host figure: run BM_TouchMoved/host in the same run for the budget");
        return;
    }
    Budget budget(state, hookAllowance);
    budget.report(spent - g_hostTouchMoved);
    state.SetLabel("budget on the time the hook adds");
}

}
