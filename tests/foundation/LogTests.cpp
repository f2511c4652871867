#include <foundation/DeviceRoot.h>
#include <foundation/LogSink.h>
#include <foundation/NSLog.h>
#include <foundation/NSNumber.h>
#include <foundation/NSString.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace foundation;

namespace {

class LogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/torvane-logtest-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_root = pattern;
        DeviceRoot::set(m_root);
        LogSink::clear();
        m_savedName = logProcessName();
    }
    void TearDown() override
    {
        setLogProcessName(m_savedName);
        std::filesystem::remove_all(m_root);
    }

    std::vector<std::string> deviceLogLines() const
    {
        std::ifstream file(m_root + "/var/log/syslog");
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);)
            lines.push_back(line);
        return lines;
    }

    std::string m_root;
    std::string m_savedName;
};

}

TEST_F(LogTest, FormatsTheMessageIntoTheSink)
{
    auto name = NSString::create("Safari");
    NSLog("Dashmere: %@ uses %i MB (%0.1f%%)", name, 42, 12.5);
    NSLog("nil is %@", nullptr);
    auto lines = LogSink::lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Dashmere: Safari uses 42 MB (12.5%)");
    EXPECT_EQ(lines[1], "nil is (null)");
    EXPECT_TRUE(LogSink::contains("42 MB"));
    LogSink::clear();
    EXPECT_TRUE(LogSink::lines().empty());
}

TEST_F(LogTest, SinkKeepsOnlyTheMostRecentLines)
{
    for (size_t i = 0; i < LogSink::capacity + 10; ++i)
        NSLog("line %u", static_cast<unsigned>(i));
    auto lines = LogSink::lines();
    ASSERT_EQ(lines.size(), LogSink::capacity);
    EXPECT_EQ(lines.front(), "line 10");
    EXPECT_EQ(lines.back(), "line " + std::to_string(LogSink::capacity + 9));
}

TEST_F(LogTest, AppendsPrefixedLinesToTheDeviceLogWhenTheDeviceHasOne)
{
    std::filesystem::create_directories(m_root + "/var/log");
    setLogProcessName("SpringBoard");
    NSLog("first %@", NSNumber::numberWithInt(1));
    NSLog("second line with a %% sign and a trailing newline\n");
    std::string prefix = "SpringBoard[" + std::to_string(::getpid()) + "]: ";
    EXPECT_EQ(deviceLogLines(), (std::vector<std::string> { prefix + "first 1", prefix + "second line with a % sign and a trailing newline" }));
}

TEST_F(LogTest, WithoutADeviceLogFolderNothingIsCreated)
{
    NSLog("only in the sink");
    EXPECT_FALSE(std::filesystem::exists(m_root + "/var/log"));
    EXPECT_TRUE(LogSink::contains("only in the sink"));
}

TEST_F(LogTest, LinesOfProcessesLoggingTogetherNeverInterleave)
{
    std::filesystem::create_directories(m_root + "/var/log");
    constexpr int linesEach = 300;
    // Long lines make a torn write easy to spot.
    std::string padding(300, 'x');
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setLogProcessName("child");
        for (int i = 0; i < linesEach; ++i)
            NSLog("c%i %s", i, padding);
        ::_exit(0);
    }
    setLogProcessName("parent");
    for (int i = 0; i < linesEach; ++i)
        NSLog("p%i %s", i, padding);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    auto lines = deviceLogLines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(2 * linesEach));
    int parentNext = 0;
    int childNext = 0;
    std::string parentPrefix = "parent[" + std::to_string(::getpid()) + "]: p";
    std::string childPrefix = "child[" + std::to_string(child) + "]: c";
    for (auto& line : lines) {
        ASSERT_TRUE(line.ends_with(" " + padding)) << line;
        // Each process's lines appear whole and in its own order.
        if (line.starts_with(parentPrefix))
            EXPECT_EQ(line, parentPrefix + std::to_string(parentNext++) + " " + padding);
        else if (line.starts_with(childPrefix))
            EXPECT_EQ(line, childPrefix + std::to_string(childNext++) + " " + padding);
        else
            ADD_FAILURE() << "unexpected line: " << line.substr(0, 60);
    }
    EXPECT_EQ(parentNext, linesEach);
    EXPECT_EQ(childNext, linesEach);
}
