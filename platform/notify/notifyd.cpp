// notifyd: the Darwin notification broker of a simulated device.
//
//   notifyd [--socket HOSTPATH]
//
// Listens at the device's /var/run/notifyd.sock (under the device root, see DeviceRoot) unless
// --socket names another path, creating the folder if needed. The socket accepts connections as
// soon as this process has started listening, so a starter waits for it to be connectable.
// Runs until SIGTERM, SIGINT or SIGHUP, or until the process that started it dies; removes its
// socket on the way out.
#include <foundation/DeviceRoot.h>
#include <notify/Broker.h>
#include <notify/Protocol.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

static void makeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0755);
}

int main(int argc, char** argv)
{
    pid_t parent = ::getppid();
    std::string socketPath;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--socket" && i + 1 < argc) {
            socketPath = argv[++i];
        } else {
            std::fprintf(stderr, "usage: notifyd [--socket HOSTPATH]\n");
            return 2;
        }
    }
    if (socketPath.empty()) {
        auto resolved = foundation::DeviceRoot::resolve(notify::protocol::socketDevicePath);
        if (!resolved) {
            std::fprintf(stderr, "notifyd: no device path for the socket\n");
            return 1;
        }
        socketPath = *resolved;
    }

    // Signals arrive through a descriptor so the poll loop sees them and can clean up.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGHUP);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    int stopFd = ::signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (stopFd < 0) {
        std::perror("notifyd: signalfd");
        return 1;
    }

    // End with the process that started us. The parent may already have gone before the request
    // took effect; then there is nobody to serve.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent)
        return 0;

    makeFolders(socketPath);
    std::string error;
    auto broker = notify::Broker::create(socketPath, error);
    if (!broker) {
        std::fprintf(stderr, "notifyd: %s\n", error.c_str());
        return 1;
    }
    broker->serve(stopFd);
    broker.reset();
    ::close(stopFd);
    return 0;
}
