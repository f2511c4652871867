// The Settings application's `settings` verbs and dump, in-process, on a device holding a pane
// bundle: a user's walk through the pane, with each refusal the driver relies on.
#include "SettingsCommands.h"
#include "SettingsDump.h"

#include <foundation/Clock.h>
#include <foundation/DeviceRoot.h>
#include <foundation/NSArray.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <foundation/RunLoop.h>
#include <preferences/SettingsApplication.h>
#include <sim/protocol/ControlError.h>

#include <gtest/gtest.h>

#include <filesystem>

using foundation::NSDictionary;
using foundation::NSString;
using sim::protocol::Json;

namespace {

using Entries = std::initializer_list<std::pair<const char*, runtime::Ref<runtime::Object>>>;

runtime::Ref<NSDictionary> dictionary(Entries entries)
{
    NSDictionary::Storage storage;
    for (auto& [key, value] : entries)
        storage.emplace(key, value);
    return NSDictionary::create(std::move(storage));
}

runtime::Ref<runtime::Object> text(const char* value) { return NSString::create(value); }
runtime::Ref<runtime::Object> number(double value) { return foundation::NSNumber::numberWithDouble(value); }

constexpr const char* bundle = "/System/Library/PreferenceBundles/TorvaneSettings.bundle";

class SettingsHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "settings-host-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        foundation::DeviceRoot::set(m_root);
        foundation::RunLoop::main().setClock(foundation::VirtualClock::create());
        std::filesystem::create_directories(m_root + bundle);
        std::filesystem::create_directories(m_root + "/var/mobile/Library/Preferences");
        std::filesystem::copy_file(TORVANE_SETTINGS_TEST_PANE, m_root + bundle + "/TorvaneSettings");
        ASSERT_TRUE(dictionary({ { "CFBundleDisplayName", text("Torvane") }, { "CFBundleExecutable", text("TorvaneSettings") },
            { "NSPrincipalClass", text("DashmereDelegate") } })->writeToFile(std::string(bundle) + "/Info.plist", true));
        auto stored = [](const char* key) { return std::pair<const char*, runtime::Ref<runtime::Object>>("key", text(key)); };
        auto domain = std::pair<const char*, runtime::Ref<runtime::Object>>("defaults", text("com.test.torvane"));
        foundation::NSArray::Storage items {
            dictionary({ { "cell", text("PSGroupCell") }, { "label", text("Confirmations") }, { "footerText", text("Asked first") } }),
            dictionary({ { "cell", text("PSSwitchCell") }, { "label", text("At Home") }, { "id", text("ConfirmationHomeID") }, stored("Home"), domain }),
            dictionary({ { "cell", text("PSSwitchCell") }, { "label", text("Move Image") }, { "id", text("MoveImageID") }, stored("Move"), domain,
                { "enabled", foundation::NSNumber::numberWithBool(false) } }),
            dictionary({ { "cell", text("PSSliderCell") }, { "id", text("OpacityID") }, stored("OpacityValue"), domain,
                { "min", number(0.2) }, { "max", number(1) }, { "default", number(1) } }),
            dictionary({ { "cell", text("PSGroupCell") }, { "label", text("Theme") } }),
            dictionary({ { "cell", text("PSLinkCell") }, { "label", text("Choose Image") }, { "id", text("ChooseImageID") },
                { "detail", text("TestThemeSetup") }, { "customControllerClass", text("TestThemeScreen") } }),
        };
        // Enough rows that the last ones start below the screen.
        for (int index = 0; index < 12; ++index) {
            std::string label = "Filler " + std::to_string(index);
            items.push_back(dictionary({ { "cell", text("PSStaticTextCell") }, { "label", NSString::create(label) } }));
        }
        items.push_back(dictionary({ { "cell", text("PSSwitchCell") }, { "label", text("Last") }, { "id", text("LastID") }, stored("Last"), domain }));
        ASSERT_TRUE(dictionary({ { "title", text("Torvane") }, { "items", foundation::NSArray::create(std::move(items)) } })
                        ->writeToFile(std::string(bundle) + "/Root.plist", true));
    }
    void TearDown() override
    {
        foundation::RunLoop::main().discardPendingWork();
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    void run(preferences::SettingsApplication& application, const std::string& line)
    {
        preferences::host::runSettingsCommand(application, sim::protocol::Command::parse(line));
        foundation::RunLoop::main().advanceBy(foundation::Seconds(1));
    }
    std::string refusal(preferences::SettingsApplication& application, const std::string& line)
    {
        try {
            run(application, line);
        } catch (const sim::protocol::ControlError& error) {
            return error.what();
        }
        return "(accepted)";
    }

    std::string m_root;
};

TEST_F(SettingsHost, AUserWalksThroughThePaneAndTheDumpFollows)
{
    auto application = preferences::SettingsApplication::create();
    ASSERT_EQ(preferences::SettingsApplication::shared(), application.ptr());
    EXPECT_EQ(preferences::host::settingsDump(*application)["stack"], Json::array({ "PrefsListController" }));
    EXPECT_NE(refusal(*application, "settings back").find("Settings list"), std::string::npos);

    run(*application, "settings leave");
    run(*application, "settings open");
    auto dump = preferences::host::settingsDump(*application);
    EXPECT_EQ(dump["stack"], Json::array({ "PrefsListController", "DashmereDelegate" }));
    // Every row, the ones below the screen included, in order and by section.
    ASSERT_EQ(dump["rows"].size(), 17u);
    EXPECT_EQ(dump["rows"][16]["id"], "LastID");
    EXPECT_EQ(dump["rows"][16]["value"], false);
    EXPECT_EQ(dump["rows"][4]["id"], nullptr);
    EXPECT_EQ(dump["rows"][4]["text"], "Filler 0");
    EXPECT_EQ(dump["sections"][0]["header"], "Confirmations");
    EXPECT_EQ(dump["sections"][0]["footer"], "Asked first");
    EXPECT_EQ(dump["sections"][0]["rows"].size(), 3u);
    EXPECT_EQ(dump["row"]["MoveImageID"]["enabled"], false);
    EXPECT_LT(dump["row"]["MoveImageID"]["alpha"].get<double>(), 1);
    EXPECT_NEAR(dump["row"]["OpacityID"]["value"].get<double>(), 1, 0.01);
    EXPECT_EQ(dump["reloadEnabled"], true);

    EXPECT_EQ(refusal(*application, "settings toggle MoveImageID on"), "row MoveImageID is disabled");
    EXPECT_NE(refusal(*application, "settings toggle NoSuchID on").find("no row NoSuchID"), std::string::npos);
    EXPECT_NE(refusal(*application, "settings toggle OpacityID on").find("not a switch"), std::string::npos);
    run(*application, "settings toggle LastID on");
    run(*application, "settings toggle ConfirmationHomeID on");
    auto stored = NSDictionary::dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/com.test.torvane.plist");
    ASSERT_TRUE(stored);
    EXPECT_TRUE(stored->numberForKey("Last")->boolValue());
    EXPECT_TRUE(stored->numberForKey("Home")->boolValue());
    EXPECT_EQ(stored->objectForKey("Move"), nullptr);

    EXPECT_NE(refusal(*application, "settings opacity 0.1").find("outside the slider's range"), std::string::npos);
    run(*application, "settings opacity 0.5");
    EXPECT_NEAR(preferences::host::settingsDump(*application)["row"]["OpacityID"]["value"].get<double>(), 0.5, 0.01);

    run(*application, "settings reload");
    EXPECT_EQ(preferences::host::settingsDump(*application)["reloadEnabled"], false);
    EXPECT_NE(refusal(*application, "settings reload").find("disabled"), std::string::npos);

    EXPECT_NE(refusal(*application, "settings save").find("no modal screen"), std::string::npos);
    run(*application, "settings select ChooseImageID");
    EXPECT_EQ(preferences::host::settingsDump(*application)["stack"],
        Json::array({ "PrefsListController", "DashmereDelegate", "TestThemeScreen" }));
    EXPECT_NE(refusal(*application, "settings back").find("save or settings cancel"), std::string::npos);
    EXPECT_NE(refusal(*application, "settings open").find("modal"), std::string::npos);
    run(*application, "settings cancel");
    EXPECT_EQ(preferences::host::settingsDump(*application)["stack"].size(), 2u);
    run(*application, "settings select ChooseImageID");
    run(*application, "settings save");
    EXPECT_EQ(preferences::host::settingsDump(*application)["stack"].size(), 2u);

    run(*application, "settings back");
    EXPECT_EQ(preferences::host::settingsDump(*application)["stack"].size(), 1u);
    run(*application, "settings row \"Torvane\"");
    EXPECT_EQ(preferences::host::settingsDump(*application)["stack"].size(), 2u);
}

}
