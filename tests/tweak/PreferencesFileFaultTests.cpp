// The preferences file under what a device does to it: two processes merging at once, a writer
// killed mid-write, a write past the process's file-size limit. Each runs the real operations in
// real child processes.

#include "TweakTestSupport.h"

#include <PreferencesFile.h>

#include <foundation/LogSink.h>
#include <foundation/NSNumber.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <csignal>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace tweak_test;
using torvane::PreferencesFile;

namespace {

// Runs `body` in a child process; its exit status is what `body` returns.
template<typename Body>
pid_t inChild(Body body)
{
    pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    return pid;
}

int exitStatus(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void merge(const std::string& key, int value)
{
    PreferencesFile::writeDictToSave(foundation::NSDictionary::create({ { key, foundation::NSNumber::numberWithInt(value) } }).ptr());
}

// On a memory file system where there is one: thousands of atomic writes each end in an fsync,
// which costs a disk seconds and a memory file system nothing, and the races are the same.
class PreferencesFileFaults : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        if (!std::filesystem::is_directory("/dev/shm"))
            return;
        std::string pattern = "/dev/shm/torvane-prefs-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            return;
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
        m_root = pattern;
        foundation::DeviceRoot::set(m_root);
        std::filesystem::create_directories(hostPath("/var/mobile/Library/Preferences"));
    }
};

}

// Two processes merge a key each, a thousand times, while this process reads. Only its own process
// writes a key, so before every merge a process must find its key as it last left it: an update
// another merge undid (it read the file before this process's write and wrote after it) shows as
// a key gone back. Every read finds a whole dictionary, and in the end both keys hold their last
// value.
TEST_F(PreferencesFileFaults, TwoProcessesMergingAtOnceLoseNoUpdate)
{
    writePreferences(dictionary({}));
    constexpr int merges = 1000;
    auto writer = [](const char* key) {
        return [key] {
            int undone = 0;
            for (int i = 0; i < merges; ++i) {
                auto file = PreferencesFile::read();
                auto* mine = file ? runtime::dynamicCast<foundation::NSNumber>(file->objectForKey(key).get()) : nullptr;
                if (i > 0 && (!mine || mine->intValue() != i - 1))
                    ++undone;
                merge(key, i);
            }
            return std::min(undone, 100);
        };
    };
    pid_t first = inChild(writer("WriterA"));
    pid_t second = inChild(writer("WriterB"));
    int halfReads = 0;
    for (int round = 0; round < 200; ++round) {
        if (!PreferencesFile::read())
            ++halfReads;
    }
    EXPECT_EQ(exitStatus(first), 0) << "updates of WriterA undone by the other process";
    EXPECT_EQ(exitStatus(second), 0) << "updates of WriterB undone by the other process";
    EXPECT_EQ(halfReads, 0) << "a reader saw something that is not a whole dictionary";

    auto final = PreferencesFile::read();
    ASSERT_TRUE(final);
    for (const char* key : { "WriterA", "WriterB" }) {
        auto* value = runtime::dynamicCast<foundation::NSNumber>(final->objectForKey(key).get());
        ASSERT_TRUE(value) << key;
        EXPECT_EQ(value->intValue(), merges - 1) << key;
    }
}

// A writer killed at random moments of its writes, many times over, leaves the old file or the new
// one, never a part of one.
TEST_F(PreferencesFileFaults, AWriterKilledMidWriteLeavesTheOldFileOrTheNew)
{
    writePreferences(dictionary({ { "Generation", foundation::NSNumber::numberWithInt(0) } }));
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> microseconds(0, 3000);
    const std::string padding(20000, 'x');
    for (int round = 0; round < 60; ++round) {
        pid_t child = inChild([&] {
            for (int i = 1;; ++i) {
                PreferencesFile::writeDictToSave(foundation::NSDictionary::create({ { "Generation", foundation::NSNumber::numberWithInt(i) },
                    { "Padding", foundation::NSStr(padding) } })
                                                     .ptr());
            }
            return 0;
        });
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds(random)));
        ::kill(child, SIGKILL);
        EXPECT_EQ(exitStatus(child), 128 + SIGKILL);
        auto file = PreferencesFile::read();
        ASSERT_TRUE(file) << "round " << round << ": the file is not a whole dictionary";
        ASSERT_TRUE(file->objectForKey("Generation")) << "round " << round;
    }
}

// Past the process's file-size limit the write fails like a full disk: the process lives on, the
// old file stays as it was, and the failure is logged once, however many writes fail after it.
TEST_F(PreferencesFileFaults, AWritePastTheSizeLimitFailsQuietlyAndIsLoggedOnce)
{
    writePreferences(dictionary({ { "OpacityValue", foundation::NSStr("0.50") } }));
    const std::string before = readRawFile(preferencesPath);
    pid_t child = inChild([] {
        struct rlimit limit { 4096, 4096 };
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 10;
        foundation::LogSink::clear();
        const std::string big(16384, 'x');
        for (int attempt = 0; attempt < 3; ++attempt)
            PreferencesFile::writeDictToSave(foundation::NSDictionary::create({ { "Big", foundation::NSStr(big) } }).ptr());
        int logged = 0;
        for (auto& line : foundation::LogSink::lines())
            logged += line.find("could not write") != std::string::npos;
        return logged == 1 ? 0 : 20 + logged;
    });
    EXPECT_EQ(exitStatus(child), 0) << "0: alive and logged once; 20 + n: logged n times; 128 + n: killed by signal n";
    EXPECT_EQ(readRawFile(preferencesPath), before);
}
