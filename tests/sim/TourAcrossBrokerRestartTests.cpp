// The whole tour, on the real device, with the notification broker killed and started again in
// its middle: every step after the restart still works, the settings pane's signals to the add-on
// included.

#include <sim/demo/Tour.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

TEST(Tour, PassesAcrossABrokerRestart)
{
    std::string tour(sim::demo::tourScript());
    // Before the settings pane first talks to the add-on.
    const std::string before = "settings open\n";
    auto at = tour.find(before);
    ASSERT_NE(at, std::string::npos);
    tour.insert(at, "broker restart\n");
    // The tour's last swipe ends Camera without asking only if the pane's "confirm off" reached
    // the add-on through the new broker.
    tour += "expect springboard /alerts length 0\nexpect springboard /icons/com.apple.camera/state == 1\n";

    fs::path folder = fs::temp_directory_path() / ("tour-broker-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "tour.scn") << tour;
    std::string command = std::string(TORVANE_SIM_PATH) + " run " + (folder / "tour.scn").string() + " --out " + (folder / "out").string()
        + " > " + (folder / "output.txt").string() + " 2>&1";
    int status = std::system(command.c_str());
    std::ifstream output(folder / "output.txt");
    std::string text((std::istreambuf_iterator<char>(output)), {});
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << text;
    EXPECT_TRUE(fs::exists(folder / "out/21-camera-ended-without-asking.png")) << text;
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
