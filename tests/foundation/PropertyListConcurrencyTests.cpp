#include "ValuesTestSupport.h"

#include <foundation/NSMutableDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace foundation;

namespace {

constexpr int rounds = 150;
const char* const settingsPath = "/var/mobile/Library/Preferences/com.qelvo.torvane.plist";

// Read-modify-write as the settings store does it: read the file afresh, set one key, write it
// back atomically. Returns the number of reads that did not parse.
int mergeRepeatedly(const std::string& key)
{
    int unreadable = 0;
    for (int i = 0; i < rounds; ++i) {
        auto settings = NSMutableDictionary::dictionaryWithContentsOfFile(settingsPath);
        if (!settings) {
            ++unreadable;
            settings = NSMutableDictionary::create();
        }
        settings->setObjectForKey(NSNumber::numberWithInt(i), key);
        settings->setObjectForKey(NSStr(std::string(200 + i % 50, 'x')), key + "Padding");
        if (!settings->writeToFile(settingsPath, true))
            ++unreadable;
    }
    return unreadable;
}

}

class PropertyListConcurrency : public values_test::DeviceRootTest {
};

TEST_F(PropertyListConcurrency, TwoProcessesMergingKeysNeverSeeATornFile)
{
    std::filesystem::create_directories(host("/var/mobile/Library/Preferences"));
    ASSERT_TRUE(NSDictionary::create({ { "Start", NSNumber::numberWithBool(true) } })->writeToFile(settingsPath, true));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(std::min(mergeRepeatedly("Child"), 100));
    const int parentFailures = mergeRepeatedly("Parent");
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "reads or writes failed in the child";
    EXPECT_EQ(parentFailures, 0);

    // The last write wins: its writer's key holds its final value. Updates of the other may be
    // lost when the two overlapped, but the file is whole.
    auto final = NSDictionary::dictionaryWithContentsOfFile(settingsPath);
    ASSERT_TRUE(final);
    auto parent = final->numberForKey("Parent");
    auto fromChild = final->numberForKey("Child");
    EXPECT_TRUE((parent && parent->intValue() == rounds - 1) || (fromChild && fromChild->intValue() == rounds - 1));
    // No temporary files are left behind.
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(host("/var/mobile/Library/Preferences")))
        ++entries;
    EXPECT_EQ(entries, 1u);
}
