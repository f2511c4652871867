#include <NimbrelCollector.h>

#include <springboard/SpringBoard.h>

#include <foundation/Clock.h>
#include <foundation/DeviceRoot.h>
#include <foundation/NSArray.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <foundation/RunLoop.h>
#include <notify/DarwinNotifyCenter.h>
#include <uikit/UIImage.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using companion::NimbrelCollector;

namespace {

std::map<std::string, int> g_posts;

void count(notify::DarwinNotifyCenter*, void*, std::string_view name, const void*, const foundation::NSDictionary*)
{
    ++g_posts[std::string(name)];
}

class Companion : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "nimbrel-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        foundation::DeviceRoot::set(m_root);
        foundation::RunLoop::main().setClock(foundation::VirtualClock::create());
        m_springBoard = springboard::SpringBoard::create(springboard::HomeScreenDescription::standard());
    }
    void TearDown() override
    {
        m_springBoard = nullptr;
        foundation::RunLoop::main().discardPendingWork();
        std::error_code error;
        std::filesystem::remove_all(m_root, error);
    }

    static runtime::RefPtr<foundation::NSDictionary> record(const foundation::NSArray& records, const std::string& identifier)
    {
        for (auto& entry : records) {
            auto* dictionary = runtime::dynamicCast<foundation::NSDictionary>(entry);
            if (dictionary && dictionary->stringForKey("BundleID") && dictionary->stringForKey("BundleID")->string() == identifier)
                return dictionary;
        }
        return nullptr;
    }

    std::filesystem::path m_root;
    runtime::RefPtr<springboard::SpringBoard> m_springBoard;
};

}

TEST_F(Companion, WritesOneRecordPerHomeScreenItemWithItsIcon)
{
    ASSERT_TRUE(NimbrelCollector::shared().collectNow());
    auto data = foundation::NSDictionary::dictionaryWithContentsOfFile(NimbrelCollector::dataPath);
    ASSERT_NE(data, nullptr);
    auto records = data->arrayForKey("ApplicationData");
    ASSERT_NE(records, nullptr);
    EXPECT_EQ(records->count(), 12u) << "eleven applications and the folder";

    auto safari = record(*records, "com.apple.mobilesafari");
    ASSERT_NE(safari, nullptr);
    EXPECT_EQ(safari->stringForKey("AppName")->string(), "Safari");
    EXPECT_FALSE(safari->numberForKey("IsFolder")->boolValue());
    auto iconPath = safari->stringForKey("IconPath")->string();
    auto icon = uikit::UIImage::imageWithContentsOfFile(iconPath);
    ASSERT_NE(icon, nullptr) << iconPath;
    EXPECT_FLOAT_EQ(icon->size().width * icon->scale(), 118);

    auto folder = record(*records, "folder:Utilities");
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(folder->numberForKey("IsFolder")->boolValue());
    EXPECT_EQ(folder->stringForKey("AppName")->string(), "Utilities");
    EXPECT_NE(record(*records, "com.apple.mobilenotes"), nullptr) << "applications inside folders are listed too";
}

TEST_F(Companion, CollectionRunsInSixStagesAndThenReportsLoaded)
{
    auto& center = notify::DarwinNotifyCenter::shared();
    g_posts.clear();
    center.addObserver(&g_posts, count, NimbrelCollector::stageNotification);
    center.addObserver(&g_posts, count, NimbrelCollector::loadedNotification);
    auto before = NimbrelCollector::shared().completedCollections();
    std::filesystem::remove(m_root / "var/mobile/Library/Nimbrel/com.qelvo.nimbrel.plist");

    NimbrelCollector::shared().requestCollection();
    NimbrelCollector::shared().requestCollection(); // folded into a second run after the first
    EXPECT_TRUE(NimbrelCollector::shared().isCollecting());
    EXPECT_FALSE(std::filesystem::exists(m_root / "var/mobile/Library/Nimbrel/com.qelvo.nimbrel.plist")) << "nothing happens inside the request";
    ASSERT_TRUE(foundation::RunLoop::main().runUntilIdle());
    EXPECT_FALSE(NimbrelCollector::shared().isCollecting());
    EXPECT_EQ(NimbrelCollector::shared().completedCollections(), before + 2);
    EXPECT_TRUE(std::filesystem::exists(m_root / "var/mobile/Library/Nimbrel/com.qelvo.nimbrel.plist"));
    EXPECT_GE(g_posts[NimbrelCollector::stageNotification], 1);
    EXPECT_LE(g_posts[NimbrelCollector::stageNotification], 12);
    EXPECT_GE(g_posts[NimbrelCollector::loadedNotification], 1);
    center.removeEveryObserver(&g_posts);
}
