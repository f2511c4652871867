#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Starts sim-app; when `readyFd` is wanted, returns the read end of its ready pipe in it.
pid_t startSimApp(const std::string& bundleIdentifier, const std::string& megabytes, int* readyFd)
{
    int pipeFds[2] = { -1, -1 };
    if (readyFd && ::pipe(pipeFds) != 0)
        return -1;
    pid_t pid = ::fork();
    if (pid == 0) {
        if (readyFd) {
            ::close(pipeFds[0]);
            ::setenv("SIM_APP_READY_FD", std::to_string(pipeFds[1]).c_str(), 1);
        }
        ::execl(SIM_APP_PATH, SIM_APP_PATH, bundleIdentifier.c_str(), megabytes.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (readyFd) {
        ::close(pipeFds[1]);
        *readyFd = pipeFds[0];
    }
    return pid;
}

std::string readAll(int fd)
{
    std::string text;
    char buffer[64];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof(buffer))) > 0)
        text.append(buffer, static_cast<size_t>(n));
    return text;
}

long residentKilobytes(pid_t pid)
{
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * ::sysconf(_SC_PAGESIZE) / 1024;
}

// Waits (bounded) for a process to end; returns its status, or -1.
int waitForExit(pid_t pid, std::chrono::seconds limit = std::chrono::seconds(10))
{
    auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        pid_t result = ::waitpid(pid, &status, WNOHANG);
        if (result == pid)
            return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return -1;
}

}

TEST(SimApp, HoldsTheMemoryItWasGivenAndQuitsOnUsr1)
{
    int ready = -1;
    pid_t pid = startSimApp("com.apple.mobilesafari", "48", &ready);
    ASSERT_GT(pid, 0);
    EXPECT_EQ(readAll(ready), "ready\n");
    ::close(ready);
    long resident = residentKilobytes(pid);
    EXPECT_GE(resident, 48 * 1024);
    EXPECT_LE(resident, 48 * 1024 + 8 * 1024) << "about the megabytes asked for, not much more";

    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    EXPECT_EQ(name, std::string("com.apple.mobilesafari").substr(0, 15));

    ::kill(pid, SIGUSR1);
    int status = waitForExit(pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(SimApp, EndsOnTermAndRefusesBadArguments)
{
    int ready = -1;
    pid_t pid = startSimApp("com.a", "0.5", &ready);
    EXPECT_EQ(readAll(ready), "ready\n");
    ::close(ready);
    ::kill(pid, SIGTERM);
    int status = waitForExit(pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);

    for (const char* megabytes : { "lots", "-1", "5000", "", "1e400" }) {
        pid_t bad = startSimApp("com.a", megabytes, nullptr);
        int badStatus = waitForExit(bad);
        ASSERT_TRUE(WIFEXITED(badStatus)) << megabytes;
        EXPECT_EQ(WEXITSTATUS(badStatus), 2) << megabytes;
    }
}

// An application never outlives the process that started it.
TEST(SimApp, DiesWithItsParent)
{
    // Orphans come back to this process, so the application's end can be waited for.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    int pidPipe[2];
    ASSERT_EQ(::pipe(pidPipe), 0);
    pid_t host = ::fork();
    if (host == 0) {
        int ready = -1;
        pid_t app = startSimApp("com.a", "1", &ready);
        readAll(ready);
        ssize_t ignored = ::write(pidPipe[1], &app, sizeof(app));
        (void)ignored;
        ::_exit(0);
    }
    ::close(pidPipe[1]);
    pid_t app = 0;
    ASSERT_EQ(::read(pidPipe[0], &app, sizeof(app)), static_cast<ssize_t>(sizeof(app)));
    ::close(pidPipe[0]);
    waitForExit(host);
    int status = waitForExit(app);
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
}
