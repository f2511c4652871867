#include <sim/driver/ProcessTable.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using sim::driver::ProcessTable;

TEST(ProcessTable, ReadsLiveProcessesAndNothingOfOnesThatHaveGone)
{
    auto self = ProcessTable::stat(::getpid());
    ASSERT_TRUE(self);
    EXPECT_EQ(self->parent, ::getppid());
    EXPECT_EQ(self->group, ::getpgrp());
    EXPECT_EQ(self->session, ::getsid(0));
    EXPECT_GT(ProcessTable::residentKilobytes(::getpid()), 0);

    pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(ProcessTable::stat(child));
    EXPECT_EQ(ProcessTable::residentKilobytes(child), 0);

    auto all = ProcessTable::all();
    EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](const auto& process) { return process.pid == ::getpid(); }));
    EXPECT_FALSE(std::any_of(all.begin(), all.end(), [&](const auto& process) { return process.pid == child; }));
}

// Processes are born and reaped while the table is read, as applications are while the driver
// waits for the device to settle: a file that fails mid-read (the process was reaped between
// opening its file and reading it) leaves the process out.
TEST(ProcessTable, ProcessesEndingWhileItIsReadAreLeftOutNotThrown)
{
    std::atomic<pid_t> latest = 0;
    std::atomic<bool> stop = false;
    std::thread churn([&] {
        for (int spawned = 0; spawned < 1000; ++spawned) {
            pid_t child = ::fork();
            if (child == 0)
                ::_exit(0);
            latest = child;
            ::waitpid(child, nullptr, 0);
        }
        stop = true;
    });
    int reads = 0;
    EXPECT_NO_THROW({
        while (!stop) {
            if (pid_t pid = latest) {
                ProcessTable::stat(pid);
                ProcessTable::residentKilobytes(pid);
                ++reads;
            }
        }
        ProcessTable::all();
    });
    churn.join();
    EXPECT_GT(reads, 0);
}
