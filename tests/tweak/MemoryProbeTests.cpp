#include "TweakTestSupport.h"

#include <MemoryProbe.h>
#include <SavedSwipeSettings.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using tweak::MemoryProbe;

namespace {

// Canned `ps -eo pid,rss` output in which 12 is a part of other process ids, listed before it.
constexpr const char* cannedProcessTable = "printf '  PID   RSS\\n  312  9000\\n 1207  4096\\n  120  1024\\n   12  2048\\n'";

}

TEST(MemoryProbe, CommandMatchesTheProcessIdExactly)
{
    EXPECT_EQ(MemoryProbe::command(12), "ps -eo pid,rss | gawk '$1 == 12 {print $2}'");
    EXPECT_EQ(MemoryProbe::command(4194304), "ps -eo pid,rss | gawk '$1 == 4194304 {print $2}'");
}

TEST(MemoryProbe, PidsThatAreSubstringsOfOthersAreNotConfused)
{
    // A pattern match on the digits would report 312's 9000 KB for 12, and 1207's for 120.
    auto forTwelve = MemoryProbe::run(MemoryProbe::command(12, cannedProcessTable));
    ASSERT_TRUE(forTwelve);
    EXPECT_EQ(*forTwelve, "2048\n");
    EXPECT_EQ(MemoryProbe::megabytesFromOutput(*forTwelve), "2.000000");

    auto forOneTwenty = MemoryProbe::run(MemoryProbe::command(120, cannedProcessTable));
    ASSERT_TRUE(forOneTwenty);
    EXPECT_EQ(MemoryProbe::megabytesFromOutput(*forOneTwenty), "1.000000");

    auto forOne = MemoryProbe::run(MemoryProbe::command(1, cannedProcessTable));
    ASSERT_TRUE(forOne);
    EXPECT_EQ(*forOne, "");
}

TEST(MemoryProbe, OutputIsReadAsTheLeadingIntegerInMegabytes)
{
    EXPECT_EQ(MemoryProbe::megabytesFromOutput("2048\n4096\n"), "2.000000"); // the first line counts
    EXPECT_EQ(MemoryProbe::megabytesFromOutput("  1536\n"), "1.500000");
    EXPECT_EQ(MemoryProbe::megabytesFromOutput("1\n"), "0.000977");
    EXPECT_EQ(MemoryProbe::megabytesFromOutput(""), "0.000000");
    EXPECT_EQ(MemoryProbe::megabytesFromOutput("gawk: not found\n"), "0.000000");
    // Single precision, as the add-on reports it: 41943041 KB is not exactly representable.
    EXPECT_EQ(MemoryProbe::megabytesFromOutput("41943041"), "40960.000000");
}

TEST(MemoryProbe, RunCollectsOutputLongerThanOneReadBuffer)
{
    auto output = MemoryProbe::run("head -c 5000 /dev/zero | tr '\\0' 'x'; echo; echo second");
    ASSERT_TRUE(output);
    EXPECT_EQ(*output, std::string(5000, 'x') + "\nsecond\n");
}

TEST(MemoryProbe, ProcessThatDoesNotExistMeasuresZero)
{
    EXPECT_EQ(tweak::SavedSwipeSettings::getMemUsingAndCPUWithPID(INT_MAX)->string(), "0.000000");
}

TEST(MemoryProbe, MeasuresTheResidentMemoryOfARealProcess)
{
    constexpr size_t megabytes = 40;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Touch every page so it is resident, say so, and wait to be killed.
        auto* block = static_cast<char*>(std::malloc(megabytes << 20));
        std::memset(block, 1, megabytes << 20);
        char done = 'r';
        [[maybe_unused]] auto written = ::write(ready[1], &done, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char done = 0;
    ASSERT_EQ(::read(ready[0], &done, 1), 1);
    ::close(ready[0]);

    std::string measured = tweak::SavedSwipeSettings::getMemUsingAndCPUWithPID(child)->string();

    // The kernel's own count of the child's resident pages, which `ps` reports too.
    long pages = 0, resident = 0;
    std::ifstream(std::string("/proc/") + std::to_string(child) + "/statm") >> pages >> resident;
    double expectedMegabytes = double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    double reported = std::strtod(measured.c_str(), nullptr);
    EXPECT_GE(reported, double(megabytes)) << measured;
    EXPECT_NEAR(reported, expectedMegabytes, 0.5) << measured;
    EXPECT_EQ(measured.size() - measured.find('.'), 7u) << "six decimals: " << measured;
}
