// A stand-in host process for the driver's tests: serves a control socket like SpringBoard and
// Settings will, with requests whose effects take time, so settling and virtual time can be
// checked without the real hosts.
//
//   sim-fake-host [NAME [SIM_APP_PATH]]
//
// NAME defaults to the name it was started by (so a link named "springboard" acts as SpringBoard),
// SIM_APP_PATH to sim-app next to the executable.
//
// Requests (besides the built-in ping, advance, idle):
//   poke N            bumps "effects" once per run-loop turn, N turns in a row
//   timer SECONDS     bumps "fired" when SECONDS of (virtual) time have passed
//   post NAME         posts a Darwin notification
//   launch BID [mb M] starts sim-app BID M as a child; its pid shows in the dump
//   say TEXT          writes TEXT to standard error (the driver captures it)
//   screenshot PATH   writes a small file at PATH
//   dump              {"dump":{"name","effects","fired","received","now","apps":{BID:pid}}}
// With FAKE_HOST_FAIL set in the environment it prints that text and exits with status 3 before
// serving anything.

#include <sim/protocol/ControlError.h>
#include <hosts/common/ControlServer.h>

#include <foundation/RunLoop.h>
#include <notify/DarwinNotifyCenter.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/prctl.h>
#include <unistd.h>

using namespace sim::protocol;
using namespace hosts;
using foundation::RunLoop;
using foundation::Seconds;

namespace {

struct State {
    int effects { 0 };
    int fired { 0 };
    int received { 0 };
    std::map<std::string, int> apps;
} state;

void poke(int remaining)
{
    if (remaining <= 0)
        return;
    RunLoop::main().dispatch([remaining] {
        ++state.effects;
        poke(remaining - 1);
    });
}

void onNotification(notify::DarwinNotifyCenter*, void*, std::string_view, const void*, const foundation::NSDictionary*)
{
    // Handling takes two more turns, so a driver that stops waiting at the delivery is caught.
    RunLoop::main().dispatch([] { RunLoop::main().dispatch([] { ++state.received; }); });
}

}

int main(int argc, char** argv)
{
    if (const char* failure = std::getenv("FAKE_HOST_FAIL")) {
        std::fprintf(stderr, "%s\n", failure);
        return 3;
    }
    std::filesystem::path self = argv[0];
    std::string name = argc > 1 ? argv[1] : self.filename().string();
    std::string simApp = argc > 2 ? argv[2] : (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "sim-app").string();
    ControlServer::useVirtualClockIfRequested();

    auto server = ControlServer::createForProcess(name);
    notify::DarwinNotifyCenter::shared().addObserver(&state, onNotification, "com.torvane.test.ping");

    server->on("poke", [](const Command& command) -> Json {
        poke(static_cast<int>(command.integer(0)));
        return nullptr;
    });
    server->on("timer", [](const Command& command) -> Json {
        RunLoop::main().dispatchAfter(Seconds(command.number(0)), [] { ++state.fired; });
        return nullptr;
    });
    server->on("post", [](const Command& command) -> Json {
        notify::DarwinNotifyCenter::shared().post(command.argument(0));
        return nullptr;
    });
    server->on("say", [](const Command& command) -> Json {
        std::fprintf(stderr, "%s\n", command.argument(0).c_str());
        std::fflush(stderr);
        return nullptr;
    });
    server->on("launch", [simApp](const Command& command) -> Json {
        std::string bundleIdentifier = command.argument(0);
        std::string megabytes = command.hasArgument(2) ? command.argument(2) : "8";
        pid_t pid = ::fork();
        if (pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::execl(simApp.c_str(), simApp.c_str(), bundleIdentifier.c_str(), megabytes.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        if (pid < 0)
            throw ControlError("fork failed");
        state.apps[bundleIdentifier] = pid;
        return { { "pid", pid } };
    });
    server->on("screenshot", [](const Command& command) -> Json {
        std::ofstream out(command.argument(0), std::ios::binary);
        out << "\x89PNG fake";
        if (!out)
            throw ControlError("cannot write " + command.argument(0));
        return nullptr;
    });
    server->on("dump", [name](const Command&) -> Json {
        Json apps = Json::object();
        for (const auto& [bundleIdentifier, pid] : state.apps)
            apps[bundleIdentifier] = pid;
        return { { "dump", {
                     { "name", name },
                     { "effects", state.effects },
                     { "fired", state.fired },
                     { "received", state.received },
                     { "now", RunLoop::main().now().secondsSinceOrigin().value() },
                     { "apps", apps },
                 } } };
    });

    RunLoop::main().run();
    return 0;
}
