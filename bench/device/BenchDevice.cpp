#include "BenchDevice.h"

#include "Benchmarks.h"

#include <GlowImageView.h>
#include <Hooks.h>
#include <SavedSwipeSettings.h>

#include <foundation/Clock.h>
#include <foundation/DeviceRoot.h>
#include <foundation/NSBundle.h>
#include <foundation/RunLoop.h>
#include <springboard/SBApplication.h>
#include <springboard/SBApplicationController.h>
#include <springboard/SBIcon.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconView.h>
#include <springboard/SBIconViewMap.h>
#include <springboard/SpringBoard.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace bench {

namespace fs = std::filesystem;

namespace {

constexpr size_t dockSize = 4;
constexpr size_t folderCount = 8;
constexpr size_t folderSize = 3;
constexpr size_t pageSize = 16;

std::shared_ptr<foundation::VirtualClock> g_clock;
bool g_hooksInstalled = false;

}

bool hooksInstalled() { return g_hooksInstalled; }

std::string BenchDevice::bundleIdentifier(size_t index)
{
    char text[32];
    std::snprintf(text, sizeof text, "com.bench.app%03zu", index);
    return text;
}

springboard::HomeScreenDescription BenchDevice::homeScreen(size_t applications)
{
    springboard::HomeScreenDescription description;
    for (size_t i = 0; i < applications; ++i)
        description.applications.push_back({ bundleIdentifier(i), "App " + std::to_string(i) });

    size_t next = 0;
    for (; next < applications && next < dockSize; ++next)
        description.dock.push_back(bundleIdentifier(next));
    // A folder takes the place of every tenth icon until there are eight.
    std::vector<std::string> slots;
    while (next < applications) {
        if (slots.size() % 10 == 9 && description.folders.size() < folderCount && applications - next >= folderSize) {
            std::string name = "Folder " + std::to_string(description.folders.size() + 1);
            std::vector<std::string> contents;
            for (size_t i = 0; i < folderSize; ++i)
                contents.push_back(bundleIdentifier(next++));
            description.folders.emplace_back(name, std::move(contents));
            slots.push_back(springboard::HomeScreenDescription::folderPrefix + name);
        } else {
            slots.push_back(bundleIdentifier(next++));
        }
    }
    for (size_t i = 0; i < slots.size(); i += pageSize)
        description.pages.emplace_back(slots.begin() + static_cast<std::ptrdiff_t>(i),
            slots.begin() + static_cast<std::ptrdiff_t>(std::min(slots.size(), i + pageSize)));
    return description;
}

size_t BenchDevice::applicationsForIconViews(size_t views)
{
    // Each folder folds 3 applications into one view; homeScreen puts one at every tenth page slot.
    size_t folders = views > dockSize ? std::min(folderCount, (views - dockSize) / 10) : 0;
    return views + folders * (folderSize - 1);
}

BenchDevice::BenchDevice(Layout layout)
    : m_layout(layout)
{
    std::string pattern = (fs::temp_directory_path() / "torvane-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a device folder in " + fs::temp_directory_path().string());
    m_root = pattern;
    foundation::DeviceRoot::set(m_root);
    fs::create_directories(hostPath("/var/mobile/Library/Preferences"));
    installTheme();

    g_clock = foundation::VirtualClock::create();
    foundation::RunLoop::main().setClock(g_clock);
    foundation::NSBundle::mainBundle().setBundleIdentifier("com.apple.springboard");
    if (layout.addOn) {
        tweak::SavedSwipeSettings::loadReloadAllDMRSettings();
        tweak::installHooks();
        g_hooksInstalled = true;
    }
    m_springBoard = springboard::SpringBoard::create(homeScreen(layout.applications));
}

BenchDevice::~BenchDevice()
{
    for (size_t i = 0; i < m_layout.applications; ++i)
        stopApplication(i);
    m_springBoard = nullptr;
    foundation::RunLoop::main().discardPendingWork();
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

fs::path BenchDevice::hostPath(const std::string& devicePath) const { return m_root.string() + devicePath; }

void BenchDevice::installTheme() const
{
    auto folder = hostPath("/Library/Application Support/Torvane/Themes");
    fs::create_directories(folder);
    fs::copy(TORVANE_THEMES_DIR "/IconOutlines", folder / "IconOutlines", fs::copy_options::recursive);
}

springboard::SBApplication& BenchDevice::application(size_t index) const
{
    auto* application = springboard::SBApplicationController::sharedInstance()->applicationWithBundleIdentifier(bundleIdentifier(index));
    if (!application)
        throw std::out_of_range("no application " + bundleIdentifier(index));
    return *application;
}

void BenchDevice::startApplications(size_t count)
{
    for (size_t i = 0; i < count && i < m_layout.applications; ++i)
        application(i).setApplicationState(springboard::SBApplicationStateBackground);
    advance(1);
}

void BenchDevice::stopApplication(size_t index)
{
    auto& stopping = application(index);
    if (stopping.isRunning())
        stopping.setApplicationState(springboard::SBApplicationStateStopped);
}

size_t BenchDevice::indicatorCount() const
{
    auto* map = springboard::SBIconViewMap::homescreenMap();
    size_t count = 0;
    auto countIn = [&](const std::vector<runtime::Ref<springboard::SBIcon>>& icons) {
        for (auto& icon : icons) {
            auto* view = map->iconViewForIcon(icon.ptr());
            if (view && tweak::GlowImageView::indicatorOf(*view))
                ++count;
        }
    };
    for (auto& page : m_springBoard->model().pages())
        countIn(page);
    countIn(m_springBoard->model().dock());
    return count;
}

void BenchDevice::advance(double seconds)
{
    g_clock->advance(foundation::Seconds(seconds));
    foundation::RunLoop::main().runUntilIdle();
}

}
