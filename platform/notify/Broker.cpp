#include <notify/Broker.h>

#include <notify/Protocol.h>
#include <support/UnixSocket.h>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace notify {

std::unique_ptr<Broker> Broker::create(std::string socketPath, std::string& error)
{
    int listenFd = support::UnixSocket::listen(socketPath, 64);
    if (listenFd < 0) {
        if (errno == EEXIST)
            error = socketPath + " exists and is not a socket";
        else if (errno == EADDRINUSE)
            error = "another broker is already listening at " + socketPath;
        else
            error = "cannot listen at " + socketPath + ": " + std::strerror(errno);
        return nullptr;
    }
    auto broker = std::unique_ptr<Broker>(new Broker(std::move(socketPath), listenFd));
    struct stat made {};
    if (::stat(broker->m_socketPath.c_str(), &made) == 0) {
        broker->m_socketDevice = made.st_dev;
        broker->m_socketInode = made.st_ino;
    }
    return broker;
}

Broker::Broker(std::string socketPath, int listenFd)
    : m_socketPath(std::move(socketPath))
    , m_listenFd(listenFd)
{
}

Broker::~Broker()
{
    for (auto& [id, client] : m_clients)
        ::close(client->fd);
    ::close(m_listenFd);
    // Only remove the file if it is still ours: a successor may already have replaced it.
    struct stat current {};
    if (::stat(m_socketPath.c_str(), &current) == 0 && current.st_dev == m_socketDevice && current.st_ino == m_socketInode)
        ::unlink(m_socketPath.c_str());
}

void Broker::serve(int stopFd)
{
    while (serveOnce(-1, stopFd)) { }
}

bool Broker::serveOnce(int timeoutMilliseconds, int stopFd)
{
    std::vector<pollfd> fds;
    std::vector<uint64_t> ids;
    fds.push_back({ m_listenFd, POLLIN, 0 });
    if (stopFd >= 0)
        fds.push_back({ stopFd, POLLIN, 0 });
    size_t firstClient = fds.size();
    for (auto& [id, client] : m_clients) {
        short events = POLLIN;
        if (!client->output.empty())
            events |= POLLOUT;
        fds.push_back({ client->fd, events, 0 });
        ids.push_back(id);
    }

    int ready = ::poll(fds.data(), fds.size(), timeoutMilliseconds);
    if (ready < 0)
        return errno == EINTR;
    if (stopFd >= 0 && fds[1].revents)
        return false;

    for (size_t i = firstClient; i < fds.size(); ++i) {
        uint64_t id = ids[i - firstClient];
        Client* client = find(id);
        if (!client || client->closing)
            continue;
        if (fds[i].revents & POLLOUT)
            flush(*client);
        if (fds[i].revents & (POLLIN | POLLHUP | POLLERR))
            readFrom(id);
    }
    if (fds[0].revents)
        acceptAll();
    reapClosed();
    return true;
}

Broker::Client* Broker::find(uint64_t id)
{
    auto it = m_clients.find(id);
    return it == m_clients.end() ? nullptr : it->second.get();
}

void Broker::acceptAll()
{
    while (true) {
        int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // EAGAIN: nobody else waiting (or out of descriptors: try again next round)
        }
        uint64_t id = m_nextId++;
        m_clients.emplace(id, std::make_unique<Client>(Client { fd, {}, {}, {}, 0, false }));
        // A new connection may already have written; drainOthers relies on this.
        readFrom(id);
    }
}

void Broker::readFrom(uint64_t id)
{
    Client* client = find(id);
    char buffer[4096];
    while (client && !client->closing) {
        ssize_t received = ::recv(client->fd, buffer, sizeof buffer, 0);
        if (received < 0) {
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                client->closing = true;
            return;
        }
        if (received == 0) {
            client->closing = true;
            return;
        }
        client->input.append(buffer, static_cast<size_t>(received));
        // Handling a line may add connections but never removes one (removal waits for
        // reapClosed), and never reads this connection again, so `client` and its buffer stay valid.
        bool withinLimit = protocol::takeLines(client->input, [&](std::string_view line) {
            if (!client->closing)
                handleLine(id, line);
        });
        if (!withinLimit)
            client->closing = true;
    }
}

void Broker::handleLine(uint64_t id, std::string_view line)
{
    Client& client = *find(id);
    auto [verb, argument] = protocol::parseLine(line);
    if (verb == "POST") {
        if (!protocol::isValidName(argument))
            return;
        auto it = m_subscribers.find(argument);
        if (it == m_subscribers.end())
            return;
        std::vector<uint64_t> subscribers(it->second.begin(), it->second.end());
        for (uint64_t subscriber : subscribers) {
            if (Client* target = find(subscriber))
                deliver(*target, argument);
        }
    } else if (verb == "ACK") {
        if (client.pending > 0)
            --client.pending;
    } else if (verb == "REG") {
        if (!protocol::isValidName(argument))
            return;
        client.names.emplace(argument);
        m_subscribers[std::string(argument)].insert(id);
    } else if (verb == "UNREG") {
        auto name = client.names.find(argument);
        if (name == client.names.end())
            return;
        client.names.erase(name);
        auto it = m_subscribers.find(argument);
        if (it != m_subscribers.end()) {
            it->second.erase(id);
            if (it->second.empty())
                m_subscribers.erase(it);
        }
    } else if (verb == "STATUS") {
        if (!m_draining)
            drainOthers(id);
        if (!client.closing)
            queue(client, "PENDING " + std::to_string(pendingDeliveries()) + "\n");
    }
}

void Broker::deliver(Client& client, std::string_view name)
{
    if (client.closing)
        return;
    ++client.pending;
    std::string note = "NOTE ";
    note += name;
    note += '\n';
    queue(client, note);
}

void Broker::queue(Client& client, std::string_view text)
{
    client.output += text;
    flush(client);
    if (client.output.size() > protocol::maxQueuedBytes)
        client.closing = true; // not reading: drop it rather than buffer without end
}

void Broker::flush(Client& client)
{
    while (!client.output.empty() && !client.closing) {
        ssize_t sent = ::send(client.fd, client.output.data(), client.output.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                client.closing = true;
            return;
        }
        client.output.erase(0, static_cast<size_t>(sent));
    }
}

void Broker::drainOthers(uint64_t except)
{
    m_draining = true;
    acceptAll();
    std::vector<uint64_t> ids;
    for (auto& [id, client] : m_clients)
        ids.push_back(id);
    for (uint64_t id : ids) {
        if (id != except)
            readFrom(id);
    }
    m_draining = false;
}

size_t Broker::pendingDeliveries() const
{
    size_t total = 0;
    for (auto& [id, client] : m_clients) {
        if (!client->closing)
            total += client->pending;
    }
    return total;
}

void Broker::reapClosed()
{
    for (auto it = m_clients.begin(); it != m_clients.end();) {
        Client& client = *it->second;
        if (!client.closing) {
            ++it;
            continue;
        }
        for (auto& name : client.names) {
            auto subscribers = m_subscribers.find(name);
            if (subscribers == m_subscribers.end())
                continue;
            subscribers->second.erase(it->first);
            if (subscribers->second.empty())
                m_subscribers.erase(subscribers);
        }
        ::close(client.fd);
        it = m_clients.erase(it);
    }
}

}
