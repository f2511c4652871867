// The home screen as the user sees it: 100 icons over five pages, the dock, indicators behind the
// forty running applications, a badge and an open alert. /RenderHome draws it at scale 2 (a
// quarter of a 60 Hz frame, 4 ms); /Screenshot/frame draws it and encodes the picture as the
// viewer's frames are encoded (12 ms), /Screenshot/file as the screenshots kept in files are
// (compressed; no budget, it runs only when a scenario asks for a screenshot). Each frame follows a change, as on a
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
    graphics::CGImage render() const { return m_device.springBoard().renderScreen(); }

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

// range(0): 0 encodes as the viewer's frames are encoded (the budget), 1 as screenshot files are.
void screenshot(benchmark::State& state)
{
    auto compression = state.range(0) == 0 ? graphics::PNGCompression::None : graphics::PNGCompression::Compact;
    HomeScreen home;
    Budget budget(state, screenshotBudget);
    size_t bytes = 0;
    budget.start();
    for (auto _ : state) {
        home.change();
        bytes = graphics::CGImageCreatePNGData(home.render(), compression).size();
    }
    budget.stop();
    state.counters["png_kb"] = static_cast<double>(bytes) / 1024;
    if (compression == graphics::PNGCompression::None)
        budget.report();
}

}
