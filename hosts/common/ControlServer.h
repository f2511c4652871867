#pragma once

#include <sim/protocol/Command.h>
#include <sim/protocol/CommandRow.h>
#include <sim/protocol/ControlError.h>
#include <sim/protocol/Json.h>

#include <foundation/ObserverToken.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hosts {

using sim::protocol::Command;
using sim::protocol::ControlError;
using sim::protocol::Json;

// The control channel a host process serves to the driver: a Unix stream socket, one request line
// in, one line of JSON out ({"ok":true,...} or {"ok":false,"error":"..."}). Requests are split
// like scenario lines (LineTokenizer.h) and handed to the handler registered under their first
// word. Connections are served from the process's main run loop, so handlers run on the main
// thread between other work, exactly like touches or timers.
//
// A handler returns the answer's fields as a JSON object ("ok" is added), any other value (put
// under "result"), or null for a bare {"ok":true}. It throws ControlError to refuse the request.
//
// Built-in requests:
//   ping               {"ok":true,"process":NAME,"pid":N}
//   advance SECONDS    lets SECONDS pass on the main run loop (virtual clock: stepping through
//                      every timer due on the way, running what they cause); {"ok":true,"now":T}
//   idle               {"ok":true,"idle":BOOL,"next":SECONDS|null}: idle when the run loop has
//                      nothing due now and no readable source, no Darwin notification is waiting
//                      for its callbacks, and every extra idle condition holds;
//                      "next" is the time until the loop's next timer
class ControlServer {
public:
    using Handler = std::function<Json(const Command&)>;

    // Listens at the host path `socketPath`. Throws ControlError when the socket cannot be made.
    static std::unique_ptr<ControlServer> create(std::string processName, std::string socketPath);
    // Listens at the device path of `processName` (protocol::controlSocketDevicePath) under the
    // device root.
    static std::unique_ptr<ControlServer> createForProcess(std::string processName);

    // Puts the main run loop on a virtual clock when the driver asks for one (it starts every
    // process with TORVANE_VIRTUAL_TIME=1). Hosts call it first thing in main(). Returns whether
    // the clock is virtual.
    static bool useVirtualClockIfRequested();

    ~ControlServer();
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;

    // Registers (or replaces) the handler of the command table's requests named `name` that this
    // process serves: the channel's own (dump, screenshot) or the scenario commands the table
    // routes here. The handler runs only for requests the table's checks let through, so it can
    // read its arguments as the table describes them. Throws std::logic_error for a name the
    // table does not give this process.
    void serve(std::string_view name, Handler);
    // Names of the commands the table routes to this process that have no handler yet.
    std::vector<std::string> unservedCommands() const;
    // Registers (or replaces) a handler outside the table, which checks its own arguments (test
    // stand-ins).
    void on(std::string name, Handler);
    // Something else that must hold for the process to count as idle, e.g. "no application is
    // still starting". Checked on every `idle` request.
    void addIdleCondition(std::function<bool()> isIdle);

    // One request line to one response line (without the newline). The socket path uses it; tests
    // may call it directly.
    std::string respond(std::string_view line);

    const std::string& socketPath() const { return m_socketPath; }
    const std::string& processName() const { return m_processName; }

    // Longest request line accepted; a longer one closes the connection.
    static constexpr size_t maximumLineLength = 1 << 20;

private:
    struct Connection;

    ControlServer(std::string processName, std::string socketPath, int listenFd);
    void registerBuiltins();
    void acceptConnections();
    void serve(const std::shared_ptr<Connection>&);
    void close(int fd);
    Json dispatch(const Command&);
    bool isIdle() const;

    std::string m_processName;
    std::string m_socketPath;
    int m_listenFd { -1 };
    foundation::ObserverToken m_listenSource;
    std::map<int, std::shared_ptr<Connection>> m_connections;
    struct Registration {
        Handler handler;
        const std::vector<sim::protocol::CommandRow>* table { nullptr }; // checks requests first
    };
    std::map<std::string, Registration, std::less<>> m_handlers;
    std::vector<std::function<bool()>> m_idleConditions;
};

}
