#pragma once

// A fresh device and a fresh SpringBoard for each test, on a virtual clock, with the sim-app built
// next to the tests.

#include <ApplicationProcesses.h>
#include <springboard/SBApplication.h>
#include <springboard/SBApplicationController.h>
#include <springboard/SpringBoard.h>

#include <foundation/Clock.h>
#include <foundation/DeviceRoot.h>
#include <foundation/NSBundle.h>
#include <foundation/RunLoop.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace springboard::testing {

using host::ApplicationProcesses;

class DeviceFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "sb-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        foundation::DeviceRoot::set(m_root);
        foundation::RunLoop::main().setClock(foundation::VirtualClock::create());
        foundation::NSBundle::mainBundle().setBundleIdentifier("com.apple.springboard");
        ApplicationProcesses::shared().setExecutable(SIM_APP_PATH);
    }

    void TearDown() override
    {
        m_springBoard = nullptr;
        ApplicationProcesses::shared().killAll();
        foundation::RunLoop::main().discardPendingWork();
        std::error_code error;
        std::filesystem::remove_all(m_root, error);
    }

    SpringBoard& boot(const HomeScreenDescription& description = HomeScreenDescription::standard())
    {
        m_springBoard = SpringBoard::create(description);
        return *m_springBoard;
    }

    SBApplication& application(const std::string& bundleIdentifier)
    {
        auto* application = SBApplicationController::sharedInstance()->applicationWithBundleIdentifier(bundleIdentifier);
        EXPECT_NE(application, nullptr) << bundleIdentifier;
        return *application;
    }

    // Turns the run loop (waiting for its file descriptors, never for time) until `done` holds;
    // false when it still does not after many turns of up to a second each.
    static bool runUntil(const std::function<bool()>& done)
    {
        for (int turn = 0; turn < 200 && !done(); ++turn)
            foundation::RunLoop::main().runOnce(foundation::Seconds(1));
        return done();
    }

    // Until no application process is still starting or still ending.
    static bool settle() { return runUntil([] { return ApplicationProcesses::shared().isSettled(); }); }

    static bool processExists(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno != ESRCH); }

    const std::filesystem::path& root() const { return m_root; }

private:
    std::filesystem::path m_root;
    runtime::RefPtr<SpringBoard> m_springBoard;
};

}
