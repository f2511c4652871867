#pragma once

// A SpringBoard host in the benchmark's own process, set up as the device runs it: a fresh device
// root with the default theme installed; with the add-on, its settings loaded and its hooks in
// place before the first icon view is mapped, as the substrate loads it at start-up; then
// SpringBoard built from a home screen of N applications (16 to a page, 4 in the dock, folders of
// 3) on a virtual clock. One device at a time: SpringBoard's controllers are process-wide.

#include <springboard/Forward.h>
#include <springboard/HomeScreenDescription.h>

#include <runtime/RefPtr.h>

#include <cstddef>
#include <filesystem>
#include <string>

namespace bench {

class BenchDevice {
public:
    struct Layout {
        size_t applications { 100 };
        bool addOn { true };
    };

    explicit BenchDevice(Layout);
    ~BenchDevice();
    BenchDevice(const BenchDevice&) = delete;
    BenchDevice& operator=(const BenchDevice&) = delete;

    // "com.bench.app007"; index 0 to 3 are the dock's.
    static std::string bundleIdentifier(size_t index);
    // The home screen of `applications` icons: 4 in the dock, up to 8 folders of 3, the rest on
    // pages of 16.
    static springboard::HomeScreenDescription homeScreen(size_t applications);
    // How many applications give `views` icon views on the pages and in the dock (a folder of 3
    // shows as one view).
    static size_t applicationsForIconViews(size_t views);

    springboard::SpringBoard& springBoard() const { return *m_springBoard; }
    springboard::SBApplication& application(size_t index) const;
    size_t applicationCount() const { return m_layout.applications; }

    // Applications 0 .. count-1 become running, through setApplicationState: as a launch does,
    // and the indicators' delayed shows are let run.
    void startApplications(size_t count);
    void stopApplication(size_t index);
    // Icon views of the pages and the dock (folders closed) that carry an indicator.
    size_t indicatorCount() const;
    // Turns the run loop until nothing is due, after moving the virtual clock by `seconds`.
    void advance(double seconds);

    // The host path of a device path.
    std::filesystem::path hostPath(const std::string& devicePath) const;

private:
    void installTheme() const;

    Layout m_layout;
    std::filesystem::path m_root;
    runtime::RefPtr<springboard::SpringBoard> m_springBoard;
};

}
