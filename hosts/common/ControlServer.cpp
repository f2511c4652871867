#include "ControlServer.h"

#include <sim/protocol/CommandChecker.h>
#include <sim/protocol/CommandTable.h>
#include <sim/protocol/ControlChannel.h>
#include <support/UnixSocket.h>

#include <foundation/DeviceRoot.h>
#include <foundation/RunLoop.h>
#include <notify/DarwinNotifyCenter.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hosts {

using foundation::RunLoop;
using foundation::Seconds;
using sim::protocol::CommandChecker;
using sim::protocol::CommandRow;
using sim::protocol::CommandTable;

struct ControlServer::Connection {
    int fd { -1 };
    std::string buffer;
    bool serving { false };
    bool closed { false };
    foundation::ObserverToken source;
};

namespace {

// Writes the whole answer even if the socket buffer is full for a moment; gives up when the
// client stops reading for seconds (it is then gone or hung, and the connection is dropped).
bool writeAll(int fd, const std::string& data)
{
    size_t written = 0;
    while (written < data.size()) {
        ssize_t n = ::send(fd, data.data() + written, data.size() - written, MSG_NOSIGNAL);
        if (n > 0) {
            written += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd waitFor { fd, POLLOUT, 0 };
            if (::poll(&waitFor, 1, 5000) <= 0)
                return false;
            continue;
        }
        return false;
    }
    return true;
}

void makeParentFolder(const std::string& path)
{
    auto slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return;
    std::string folder = path.substr(0, slash);
    for (size_t i = 1; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '/')
            ::mkdir(folder.substr(0, i).c_str(), 0755);
    }
}

}

std::unique_ptr<ControlServer> ControlServer::create(std::string processName, std::string socketPath)
{
    makeParentFolder(socketPath);
    int fd = support::UnixSocket::listen(socketPath);
    if (fd < 0)
        throw ControlError("cannot listen at " + socketPath + ": " + std::strerror(errno));
    return std::unique_ptr<ControlServer>(new ControlServer(std::move(processName), std::move(socketPath), fd));
}

std::unique_ptr<ControlServer> ControlServer::createForProcess(std::string processName)
{
    auto hostPath = foundation::DeviceRoot::resolve(sim::protocol::controlSocketDevicePath(processName));
    if (!hostPath)
        throw ControlError("no device path for " + processName);
    return create(std::move(processName), *hostPath);
}

bool ControlServer::useVirtualClockIfRequested()
{
    const char* value = std::getenv(sim::protocol::virtualTimeVariable);
    if (!value || !*value || std::string_view(value) == "0")
        return RunLoop::main().clock().isVirtual();
    if (!RunLoop::main().clock().isVirtual())
        RunLoop::main().setClock(foundation::VirtualClock::create());
    return true;
}

ControlServer::ControlServer(std::string processName, std::string socketPath, int listenFd)
    : m_processName(std::move(processName))
    , m_socketPath(std::move(socketPath))
    , m_listenFd(listenFd)
{
    registerBuiltins();
    m_listenSource = RunLoop::main().addSource(m_listenFd, [this] { acceptConnections(); });
}

ControlServer::~ControlServer()
{
    m_listenSource.reset();
    for (auto& [fd, connection] : m_connections) {
        connection->source.reset();
        ::close(fd);
    }
    m_connections.clear();
    ::close(m_listenFd);
    ::unlink(m_socketPath.c_str());
}

void ControlServer::on(std::string name, Handler handler)
{
    m_handlers[std::move(name)] = { std::move(handler), nullptr };
}

void ControlServer::serve(std::string_view name, Handler handler)
{
    auto named = [&](const CommandRow& row) { return row.name == name; };
    const auto& channel = CommandTable::channel();
    if (std::any_of(channel.begin(), channel.end(), named)) {
        m_handlers[std::string(name)] = { std::move(handler), &channel };
        return;
    }
    const auto& scenario = CommandTable::scenario();
    bool routedHere = std::any_of(scenario.begin(), scenario.end(), [&](const CommandRow& row) { return named(row) && row.process() == m_processName; });
    if (!routedHere)
        throw std::logic_error("the command table routes no '" + std::string(name) + "' to " + m_processName);
    m_handlers[std::string(name)] = { std::move(handler), &scenario };
}

std::vector<std::string> ControlServer::unservedCommands() const
{
    std::vector<std::string> names;
    for (const auto& row : CommandTable::scenario()) {
        std::string name(row.name);
        if (row.process() == m_processName && !m_handlers.contains(name) && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return names;
}

void ControlServer::addIdleCondition(std::function<bool()> isIdle)
{
    m_idleConditions.push_back(std::move(isIdle));
}

void ControlServer::registerBuiltins()
{
    serve("ping", [this](const Command&) -> Json {
        return { { "process", m_processName }, { "pid", ::getpid() } };
    });
    serve("advance", [](const Command& command) -> Json {
        auto& loop = RunLoop::main();
        loop.advanceBy(Seconds(command.number(0)));
        return { { "now", loop.now().secondsSinceOrigin().value() } };
    });
    serve("idle", [this](const Command&) -> Json {
        auto next = RunLoop::main().timeUntilNextTimer();
        return { { "idle", isIdle() }, { "next", next ? Json(next->value()) : Json(nullptr) } };
    });
}

bool ControlServer::isIdle() const
{
    if (!RunLoop::main().isIdle())
        return false;
    // A notification that arrived from the broker but whose callbacks have not run yet is work
    // the broker already counts as delivered.
    if (notify::DarwinNotifyCenter::shared().deliveriesReceivedNotRun() != 0)
        return false;
    for (const auto& condition : m_idleConditions) {
        if (!condition())
            return false;
    }
    return true;
}

Json ControlServer::dispatch(const Command& command)
{
    auto it = m_handlers.find(command.name());
    if (it == m_handlers.end())
        throw ControlError("unknown request '" + command.name() + "'");
    const Registration& registration = it->second;
    if (registration.table) {
        auto match = CommandChecker::match(*registration.table, command);
        if (match.row && registration.table == &CommandTable::scenario() && match.row->process() != m_processName)
            throw ControlError("'" + std::string(match.row->usage) + "' is not served by " + m_processName);
        if (match.error)
            throw ControlError(*match.error);
    }
    return registration.handler(command);
}

std::string ControlServer::respond(std::string_view line)
{
    Json answer;
    try {
        Command command = Command::parse(line);
        Json result = dispatch(command);
        if (result.is_object()) {
            answer = std::move(result);
            if (!answer.contains("ok"))
                answer["ok"] = true;
        } else if (result.is_null()) {
            answer = { { "ok", true } };
        } else {
            answer = { { "ok", true }, { "result", std::move(result) } };
        }
    } catch (const ControlError& error) {
        answer = { { "ok", false }, { "error", error.what() } };
    } catch (const std::exception& error) {
        answer = { { "ok", false }, { "error", std::string("internal error: ") + error.what() } };
    }
    // Text from handlers may hold bytes that are not UTF-8 (file names); replace them rather than
    // failing the whole answer.
    return answer.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void ControlServer::acceptConnections()
{
    for (;;) {
        int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR)
                continue;
            return; // EAGAIN: all taken; anything else: the next turn tries again
        }
        auto connection = std::make_shared<Connection>();
        connection->fd = fd;
        m_connections[fd] = connection;
        std::weak_ptr<Connection> weak = connection;
        connection->source = RunLoop::main().addSource(fd, [this, weak] {
            if (auto connection = weak.lock())
                serve(connection);
        });
    }
}

void ControlServer::serve(const std::shared_ptr<Connection>& connection)
{
    // Always drain the socket, even when called again from inside a handler (a handler that runs
    // the loop, like `advance`, polls this source too): a readable source left unread would keep
    // the loop busy forever.
    char chunk[4096];
    for (;;) {
        ssize_t n = ::recv(connection->fd, chunk, sizeof(chunk), 0);
        if (n > 0) {
            connection->buffer.append(chunk, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            connection->closed = true;
        break;
    }
    if (connection->buffer.size() > maximumLineLength && connection->buffer.find('\n') == std::string::npos) {
        writeAll(connection->fd, Json({ { "ok", false }, { "error", "request line too long" } }).dump() + "\n");
        connection->closed = true;
        connection->buffer.clear();
    }

    // Requests are answered one after another; a nested call only collects bytes.
    if (connection->serving)
        return;
    connection->serving = true;
    size_t newline;
    while (!connection->closed && (newline = connection->buffer.find('\n')) != std::string::npos) {
        std::string line = connection->buffer.substr(0, newline);
        connection->buffer.erase(0, newline + 1);
        std::string answer = respond(line) + "\n";
        if (!writeAll(connection->fd, answer))
            connection->closed = true;
    }
    connection->serving = false;
    if (connection->closed)
        close(connection->fd);
}

void ControlServer::close(int fd)
{
    auto it = m_connections.find(fd);
    if (it == m_connections.end())
        return;
    auto connection = it->second; // keeps the connection alive while its source is removed
    m_connections.erase(it);
    connection->source.reset();
    ::close(fd);
}

}
