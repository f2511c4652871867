// sim-app: one simulated application process.
//
//   sim-app BUNDLE_ID MEGABYTES
//
// Allocates MEGABYTES of memory and writes to every page of it, so the process really holds that
// much resident memory (`ps -o rss` reports about MEGABYTES * 1024 KB), then waits for a signal:
//   SIGUSR1            exits by itself with status 0 (the host's "quit")
//   SIGTERM, SIGKILL   ends it (the host ending the application)
// It also dies with its parent (PR_SET_PDEATHSIG), so an application never outlives SpringBoard.
//
// When the environment names a descriptor in SIM_APP_READY_FD, "ready\n" is written to it once the
// memory is in place, and the descriptor is closed: a host that wants the memory measurable before
// it carries on waits for that line.
//
// Deliberately free of the platform library and of C++ streams, so it starts in a millisecond.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t quitRequested = 0;

void onQuit(int) { quitRequested = 1; }

// The most an application may ask for; keeps a typo from taking the machine's memory.
constexpr double maximumMegabytes = 4096;

int usage(const char* message)
{
    std::fprintf(stderr, "sim-app: %s\nusage: sim-app BUNDLE_ID MEGABYTES\n", message);
    return 2;
}

bool readMegabytes(const char* text, double& megabytes)
{
    char* end = nullptr;
    errno = 0;
    megabytes = std::strtod(text, &end);
    return errno == 0 && end != text && *end == '\0' && megabytes >= 0 && megabytes <= maximumMegabytes;
}

}

int main(int argc, char** argv)
{
    if (argc != 3)
        return usage("wrong number of arguments");
    const char* bundleIdentifier = argv[1];
    if (!*bundleIdentifier)
        return usage("empty bundle identifier");
    double megabytes = 0;
    if (!readMegabytes(argv[2], megabytes))
        return usage("MEGABYTES must be a number from 0 to 4096");

    pid_t parent = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The parent may have died before the line above; then nobody would ever end this process.
    if (::getppid() != parent)
        return 1;
    ::prctl(PR_SET_NAME, bundleIdentifier);

    // Block the signals we wait for before anything else, so none is lost between the check and
    // the wait.
    sigset_t waitMask;
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    struct sigaction action {};
    action.sa_handler = onQuit;
    sigemptyset(&action.sa_mask);
    sigaction(SIGUSR1, &action, nullptr);
    sigdelset(&waitMask, SIGUSR1);
    // A parent's blocked or ignored SIGTERM would be inherited; the host must be able to end us.
    std::signal(SIGTERM, SIG_DFL);
    sigdelset(&waitMask, SIGTERM);
    sigset_t terminate;
    sigemptyset(&terminate);
    sigaddset(&terminate, SIGTERM);
    sigprocmask(SIG_UNBLOCK, &terminate, nullptr);

    size_t bytes = static_cast<size_t>(megabytes * 1024 * 1024);
    if (bytes > 0) {
        void* memory = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) {
            std::fprintf(stderr, "sim-app: cannot allocate %.1f MB: %s\n", megabytes, std::strerror(errno));
            return 1;
        }
        // A written page is resident and private; one write per page is enough.
        long pageSize = ::sysconf(_SC_PAGESIZE);
        auto* bytesOut = static_cast<volatile unsigned char*>(memory);
        for (size_t offset = 0; offset < bytes; offset += static_cast<size_t>(pageSize))
            bytesOut[offset] = 1;
    }

    if (const char* readyFd = std::getenv("SIM_APP_READY_FD")) {
        char* end = nullptr;
        long fd = std::strtol(readyFd, &end, 10);
        if (end != readyFd && *end == '\0' && fd > 2) {
            static const char ready[] = "ready\n";
            ssize_t ignored = ::write(static_cast<int>(fd), ready, sizeof(ready) - 1);
            (void)ignored;
            ::close(static_cast<int>(fd));
        }
    }

    while (!quitRequested)
        sigsuspend(&waitMask);
    return 0;
}
