#include "TweakTestSupport.h"

#include <SavedSwipeSettings.h>

#include <foundation/NSMutableArray.h>

using namespace tweak_test;
using foundation::NSStr;
using foundation::NSString;
using tweak::SavedSwipeSettings;

namespace {

class ApplicationOperations : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        disable({});
    }
    void TearDown() override
    {
        // The running-applications list lives for the process; leave it empty for the next test.
        for (auto& identifier : m_added)
            SavedSwipeSettings::removeFromFolderArray(NSStr(identifier).ptr());
        DeviceTest::TearDown();
    }

    void disable(std::initializer_list<const char*> identifiers)
    {
        writePreferences(dictionary({ { "DisableTheseApps", strings(identifiers) } }));
        SavedSwipeSettings::loadReloadAllDMRSettings();
    }
    void started(const char* identifier)
    {
        m_added.push_back(identifier);
        SavedSwipeSettings::writeToFolderArray(NSStr(identifier).ptr());
    }

    std::vector<std::string> m_added;
};

}

TEST_F(ApplicationOperations, NeverEndedApplicationsAreDisabledEvenWithAnEmptyList)
{
    for (const char* identifier : { "com.apple.mobilephone", "com.apple.mobilemail", "eu.heinelt.ifile", "com.saurik.Cydia" })
        EXPECT_TRUE(SavedSwipeSettings::isThisAppDisabled(NSStr(identifier).ptr())) << identifier;
    EXPECT_FALSE(SavedSwipeSettings::isThisAppDisabled(NSStr("com.apple.mobilesafari").ptr()));
    // Compared as exact text.
    EXPECT_FALSE(SavedSwipeSettings::isThisAppDisabled(NSStr("com.apple.MobilePhone").ptr()));
    EXPECT_FALSE(SavedSwipeSettings::isThisAppDisabled(nullptr));
}

TEST_F(ApplicationOperations, UserDisabledApplicationsAreDisabledAfterALoad)
{
    disable({ "com.apple.mobilesafari" });
    EXPECT_TRUE(SavedSwipeSettings::isThisAppDisabled(NSStr("com.apple.mobilesafari").ptr()));
    EXPECT_FALSE(SavedSwipeSettings::isThisAppDisabled(NSStr("com.apple.Maps").ptr()));
    disable({});
    EXPECT_FALSE(SavedSwipeSettings::isThisAppDisabled(NSStr("com.apple.mobilesafari").ptr()));
}

TEST_F(ApplicationOperations, RemoveAllDisabledAppsKeepsTheRestInOrder)
{
    EXPECT_EQ(SavedSwipeSettings::removeAllDisabledAppsFromArray(nullptr)->count(), 0u);

    disable({ "com.apple.Maps" });
    auto input = strings({ "com.apple.camera", "com.apple.mobilephone", "com.apple.Maps", "com.apple.mobilenotes", "com.apple.Maps",
        "com.saurik.Cydia", "com.apple.mobilecal" });
    auto remaining = SavedSwipeSettings::removeAllDisabledAppsFromArray(input.ptr());
    EXPECT_EQ(texts(*remaining), (std::vector<std::string> { "com.apple.camera", "com.apple.mobilenotes", "com.apple.mobilecal" }));
    // A new array: the argument is untouched.
    EXPECT_EQ(input->count(), 7u);
}

TEST_F(ApplicationOperations, RunningListKeepsStartOrderWithoutDuplicates)
{
    started("com.apple.mobilesafari");
    started("com.apple.camera");
    started("com.apple.mobilesafari");
    started("com.apple.mobilenotes");
    EXPECT_EQ(texts(SavedSwipeSettings::getFolderArray()),
        (std::vector<std::string> { "com.apple.mobilesafari", "com.apple.camera", "com.apple.mobilenotes" }));

    SavedSwipeSettings::removeFromFolderArray(NSStr("com.apple.camera").ptr());
    SavedSwipeSettings::removeFromFolderArray(NSStr("com.apple.unknown").ptr());
    SavedSwipeSettings::removeFromFolderArray(nullptr);
    SavedSwipeSettings::writeToFolderArray(nullptr);
    EXPECT_EQ(texts(SavedSwipeSettings::getFolderArray()), (std::vector<std::string> { "com.apple.mobilesafari", "com.apple.mobilenotes" }));
}

TEST_F(ApplicationOperations, RunningListIsFilteredButKeepsEveryRunningApplication)
{
    started("com.apple.mobilephone");
    started("com.apple.mobilesafari");
    started("com.apple.Maps");
    disable({ "com.apple.Maps" });
    EXPECT_EQ(texts(SavedSwipeSettings::getFolderArray()), std::vector<std::string> { "com.apple.mobilesafari" });

    // A reload never clears the list, and an application taken off the disabled list counts again.
    disable({});
    EXPECT_EQ(texts(SavedSwipeSettings::getFolderArray()), (std::vector<std::string> { "com.apple.mobilesafari", "com.apple.Maps" }));
}

TEST_F(ApplicationOperations, RunningListHoldsItsOwnCopyOfEachIdentifier)
{
    auto identifier = foundation::NSMutableString::create("com.apple.camera");
    m_added.push_back("com.apple.camera");
    SavedSwipeSettings::writeToFolderArray(identifier.ptr());
    identifier->setString("com.apple.changed");
    EXPECT_EQ(texts(SavedSwipeSettings::getFolderArray()), std::vector<std::string> { "com.apple.camera" });
}
