// The add-on loaded into a process that is not SpringBoard (Settings, or any other) changes nothing:
// no preferences file, no log line, no hook. Its own test binary, since the library stays loaded.

#include <springboard/HookedOperations.h>
#include <springboard/SBApplication.h>
#include <springboard/SBAwayController.h>

#include <foundation/DeviceRoot.h>
#include <foundation/LogSink.h>
#include <foundation/NSBundle.h>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>

namespace {

std::filesystem::path makeDevice()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "sb-addon-XXXXXX").string();
    EXPECT_NE(::mkdtemp(pattern.data()), nullptr);
    std::filesystem::create_directories(std::filesystem::path(pattern) / "var/mobile/Library/Preferences");
    return pattern;
}

}

TEST(AddOnOutsideSpringBoard, LoadingChangesNothing)
{
    auto root = makeDevice();
    foundation::DeviceRoot::set(root.string());
    foundation::NSBundle::mainBundle().setBundleIdentifier("com.apple.Preferences");
    foundation::LogSink::clear();
    auto stateBefore = springboard::SBApplication::staticClass().lookup(springboard::setApplicationStateOperation.selector());
    auto lockBefore = springboard::SBAwayController::staticClass().lookup(springboard::lockOperation.selector());

    void* handle = ::dlopen(DASHMERE_PATH, RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(handle, nullptr) << ::dlerror();

    EXPECT_FALSE(std::filesystem::exists(root / "var/mobile/Library/Preferences/com.qelvo.torvane.plist"));
    EXPECT_FALSE(foundation::LogSink::contains("Loaded into SpringBoard"));
    EXPECT_EQ(springboard::SBApplication::staticClass().lookup(springboard::setApplicationStateOperation.selector()), stateBefore);
    EXPECT_EQ(springboard::SBAwayController::staticClass().lookup(springboard::lockOperation.selector()), lockBefore);
    std::error_code error;
    std::filesystem::remove_all(root, error);
}
