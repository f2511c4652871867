#pragma once

#include <foundation/DeviceRoot.h>
#include <foundation/NSDictionary.h>
#include <graphics/Context.h>
#include <graphics/Image.h>
#include <uikit/UIColor.h>
#include <uikit/UIView.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace settings_test {

inline constexpr const char* preferencesPath = "/var/mobile/Library/Preferences/com.qelvo.torvane.plist";
inline constexpr const char* bundlePath = "/System/Library/PreferenceBundles/TorvaneSettings.bundle";

// Every test gets a fresh device: a temporary folder standing for "/" with the preferences folder
// and the pane's bundle in place, as on the device.
class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "settings-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        foundation::DeviceRoot::set(m_root);
        std::filesystem::create_directories(hostPath("/var/mobile/Library/Preferences"));
        std::filesystem::create_directories(hostPath(bundlePath));
        std::filesystem::copy(TORVANE_SETTINGS_BUNDLE, hostPath(bundlePath), std::filesystem::copy_options::recursive);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    std::string hostPath(const std::string& devicePath) const { return m_root + devicePath; }

    void writePreferences(const foundation::NSDictionary& preferences) const
    {
        ASSERT_TRUE(preferences.writeToFile(preferencesPath, true));
    }
    runtime::RefPtr<foundation::NSDictionary> readPreferences() const
    {
        return foundation::NSDictionary::dictionaryWithContentsOfFile(preferencesPath);
    }

    // A flat-coloured PNG of `width` x `height` at a device path, with a white square in its middle
    // so that scaling and placing show.
    void writeSwatch(const std::string& devicePath, int width, int height, float red, float green, float blue) const
    {
        std::filesystem::create_directories(std::filesystem::path(hostPath(devicePath)).parent_path());
        auto context = graphics::CGBitmapContextCreate(width, height, 1);
        graphics::CGContextSetRGBFillColor(context, red, green, blue, 1);
        graphics::CGContextFillRect(context, { { 0, 0 }, { static_cast<float>(width), static_cast<float>(height) } });
        graphics::CGContextSetRGBFillColor(context, 1, 1, 1, 1);
        graphics::CGContextFillRect(context, { { width / 3.0f, height / 3.0f }, { width / 3.0f, height / 3.0f } });
        ASSERT_TRUE(graphics::CGImageWritePNGFile(graphics::CGBitmapContextCreateImage(context), hostPath(devicePath)));
    }

    std::string m_root;
};

inline std::filesystem::path reference(const char* name)
{
    return std::filesystem::path(TORVANE_SETTINGS_REFERENCES) / name;
}

// A white stage of the table's width for a cell placed by its own setFrame, as the table shows it.
inline runtime::Ref<uikit::UIView> stage(uikit::CGSize size)
{
    auto view = uikit::UIView::create({ { 0, 0 }, size });
    view->setBackgroundColor(uikit::UIColor::whiteColor());
    return view;
}

}
