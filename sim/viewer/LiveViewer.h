#pragma once

#include <sim/driver/BuildLayout.h>

#include <filesystem>
#include <iosfwd>
#include <optional>

namespace sim::viewer {

// `torvane-sim view`: boots a device on real time and serves one page on 127.0.0.1 that shows the
// SpringBoard and Settings screens as they change, passes a pointer on them as a finger to that
// process, offers the hardware and set-up controls a screen does not show, and follows the log and
// the state the dumps give. With a record file, what the person does is written as a scenario.
//
// Threads: the HTTP server's; one that owns the device session and carries out input, controls
// and dumps in order; one that asks the hosts for changed frames (at most 30 a second each); and
// one that watches for Ctrl-C. Ctrl-C stops the device and removes its folder unless it was given.
class LiveViewer {
public:
    struct Options {
        driver::BuildLayout layout;
        std::optional<std::filesystem::path> deviceFolder;
        std::optional<std::filesystem::path> recordFile;
        int port { defaultPort }; // 0: any free port
        bool portGiven { false };
    };
    static constexpr int defaultPort = 8765;

    LiveViewer(Options, std::ostream& out, std::ostream& err);
    int run();

private:
    Options m_options;
    std::ostream& m_out;
    std::ostream& m_err;
};

}
