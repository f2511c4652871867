#include "HostLifetime.h"

#include <foundation/RunLoop.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace hosts {

namespace {

// Signal handlers may only write; the run loop reads the other end.
int g_stopPipe[2] = { -1, -1 };

void onStopSignal(int)
{
    char byte = 1;
    ssize_t ignored = ::write(g_stopPipe[1], &byte, 1);
    (void)ignored;
}

}

bool HostLifetime::bindToParent()
{
    pid_t parent = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    std::signal(SIGPIPE, SIG_IGN);
    return ::getppid() == parent;
}

foundation::ObserverToken HostLifetime::stopRunLoopOnSignals()
{
    if (g_stopPipe[0] < 0 && ::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("host: pipe");
        return {};
    }
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);

    auto& loop = foundation::RunLoop::main();
    return loop.addSource(g_stopPipe[0], [&loop] {
        char buffer[16];
        while (::read(g_stopPipe[0], buffer, sizeof buffer) > 0) { }
        loop.stop();
    });
}

}
