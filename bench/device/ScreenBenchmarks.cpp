// The home screen as the user sees it: 100 icons over five pages, the dock, indicators behind the
// forty running applications, a badge and an open alert. /RenderHome draws it at scale 2 (a
// quarter of a 60 Hz frame, 4 ms); /Screenshot draws it and encodes it as PNG, as the screenshots
// and the viewer's frames are (12 ms). Each frame follows a change, as on a
// live screen: the badge counts up, so its icon draws again.

#include "Benchmarks.h"

#include "BenchDevice.h"
#include "Budget.h"

#include <graphics/Image.h>
#include <springboard/SBApplicationController.h>
#include <springboard/SBIcon.h>
#include <springboard/SBIconModel.h>
#include <springboard/SpringBoard.h>
#include <uikit/UIAlertView.h>
#include <uikit/UIApplication.h>

#include <algorithm>
#include <chrono>
#include <string>

namespace bench {

namespace {

constexpr std::chrono::milliseconds renderBudget { 4 };
constexpr std::chrono::milliseconds screenshotBudget { 12 };

class HomeScreen {
public:
    HomeScreen()
        : m_device({ .applications = 100 })
    {
        m_device.startApplications(40);
        m_badged = m_device.springBoard().model().applicationIconForDisplayIdentifier(BenchDevice::bundleIdentifier(5));
        m_alert = uikit::UIAlertView::create(std::string("App 7"), std::string("App 7 is using 12.5 MB of memory. End it?"), nullptr,
            std::string("Cancel"), { std::string("Kill") });
        m_alert->show();
        m_device.advance(1);
        // The first picture draws every layer; later ones redraw what changed.
        render();
    }
    ~HomeScreen() { m_alert->dismissWithClickedButtonIndex(0, false); }

    // The next frame's change.
    void change() { m_badged->setBadgeValue(1 + (++m_frames % 99)); }
    graphics::CGImage render(uikit::CGFloat scale = 2) const { return uikit::UIApplication::sharedApplication().renderScreen(scale); }

private:
    BenchDevice m_device;
    springboard::SBIcon* m_badged { nullptr };
    runtime::RefPtr<uikit::UIAlertView> m_alert;
    int m_frames { 0 };
};

}

void renderHome(benchmark::State& state)
{
    HomeScreen home;
    Budget budget(state, renderBudget);
    budget.start();
    for (auto _ : state) {
        home.change();
        benchmark::DoNotOptimize(home.render());
    }
    budget.stop();
    budget.report();
}

// range(0) is the scale: 2 for the screenshots and a page on a sharp screen, 1 for a page on an
// ordinary one (the viewer sends what the page shows).
void screenshot(benchmark::State& state)
{
    auto scale = static_cast<uikit::CGFloat>(state.range(0));
    HomeScreen home;
    Budget budget(state, screenshotBudget);
    size_t bytes = 0;
    std::chrono::steady_clock::duration rendering {}, encoding {};
    budget.start();
    for (auto _ : state) {
        home.change();
        auto start = std::chrono::steady_clock::now();
        auto picture = home.render(scale);
        auto rendered = std::chrono::steady_clock::now();
        bytes = graphics::CGImageCreatePNGData(picture).size();
        rendering += rendered - start;
        encoding += std::chrono::steady_clock::now() - rendered;
    }
    budget.stop();
    // Where the time goes: drawing the screen, and encoding the picture.
    auto averageMicroseconds = [&](std::chrono::steady_clock::duration total) {
        return std::chrono::duration<double, std::micro>(total).count() / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    };
    state.counters["render_us"] = averageMicroseconds(rendering);
    state.counters["png_us"] = averageMicroseconds(encoding);
    state.counters["png_kb"] = static_cast<double>(bytes) / 1024;
    budget.report();
}

}
