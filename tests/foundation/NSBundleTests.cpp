#include <foundation/DeviceRoot.h>
#include <foundation/NSBundle.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSString.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace foundation;

namespace {

class BundleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/torvane-bundletest-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_root = pattern;
        DeviceRoot::set(m_root);
        std::filesystem::create_directories(m_root + bundle);
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }

    void put(const std::string& devicePath, const std::string& contents = "x")
    {
        std::ofstream(m_root + devicePath) << contents;
    }

    static constexpr const char* bundle = "/System/Library/PreferenceBundles/TorvaneSettings.bundle";
    std::string m_root;
};

}

TEST_F(BundleTest, FindsResourcesInItsFolderOnly)
{
    put(std::string(bundle) + "/Glow.png");
    put(std::string(bundle) + "/Root.plist");
    put("/System/Library/PreferenceBundles/Outside.png");
    auto found = NSBundle::bundleWithPath(bundle);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->bundlePath(), bundle);
    EXPECT_EQ(found->pathForResource("Glow", "png"), std::string(bundle) + "/Glow.png");
    EXPECT_EQ(found->pathForResource("Root.plist", ""), std::string(bundle) + "/Root.plist");
    EXPECT_EQ(found->pathForResource("Glow", "jpg"), "");
    EXPECT_EQ(found->pathForResource("Outside", "png"), "");
}

TEST_F(BundleTest, SamePathGivesTheSameBundleAndAMissingFolderGivesNil)
{
    auto first = NSBundle::bundleWithPath(bundle);
    auto second = NSBundle::bundleWithPath(std::string(bundle) + "/");
    EXPECT_EQ(first.get(), second.get());
    EXPECT_FALSE(NSBundle::bundleWithPath("/System/Library/PreferenceBundles/Missing.bundle"));
    put("/plainfile");
    EXPECT_FALSE(NSBundle::bundleWithPath("/plainfile"));
}

TEST_F(BundleTest, IdentifierComesFromInfoPlistOrTheHost)
{
    NSDictionary::Storage info;
    info.emplace("CFBundleIdentifier", NSString::create("com.qelvo.torvanesettings"));
    ASSERT_TRUE(NSDictionary::create(std::move(info))->writeToFile(std::string(bundle) + "/Info.plist", true));
    EXPECT_EQ(NSBundle::bundleWithPath(bundle)->bundleIdentifier(), "com.qelvo.torvanesettings");

    NSBundle::mainBundle().setBundleIdentifier("com.apple.springboard");
    EXPECT_EQ(NSBundle::mainBundle().bundleIdentifier(), "com.apple.springboard");
    EXPECT_EQ(&NSBundle::mainBundle(), &NSBundle::mainBundle());
}
