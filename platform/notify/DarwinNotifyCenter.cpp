#include <notify/DarwinNotifyCenter.h>

#include <foundation/DeviceRoot.h>
#include <foundation/RunLoop.h>
#include <notify/Protocol.h>
#include <support/UnixSocket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <pthread.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace notify {

DarwinNotifyCenter& DarwinNotifyCenter::shared()
{
    // Never destroyed: the run loop's source and queued work point at it until the process ends.
    static DarwinNotifyCenter* center = [] {
        auto* made = new DarwinNotifyCenter;
        pthread_atfork(nullptr, nullptr, [] { shared().forgetAfterFork(); });
        return made;
    }();
    return *center;
}

DarwinNotifyCenter::DarwinNotifyCenter() = default;

bool DarwinNotifyCenter::isObserved(std::string_view name) const
{
    return std::any_of(m_registrations.begin(), m_registrations.end(), [&](auto& registration) { return registration->name == name; });
}

void DarwinNotifyCenter::addObserver(void* observer, DarwinNotificationCallback callback, std::string_view name)
{
    if (!callback || !protocol::isValidName(name))
        return;
    for (auto& registration : m_registrations) {
        if (registration->observer == observer && registration->callback == callback && registration->name == name)
            return;
    }
    bool wasObserved = isObserved(name);
    bool wasConnected = isConnected();
    m_registrations.push_back(std::make_shared<Registration>(Registration { observer, callback, std::string(name) }));
    // A fresh connection registers every observed name itself.
    if (ensureConnected() && wasConnected && !wasObserved)
        subscribe(std::string(name));
}

void DarwinNotifyCenter::removeObserver(void* observer, std::string_view name)
{
    std::vector<std::string> affected;
    std::erase_if(m_registrations, [&](auto& registration) {
        if (registration->observer != observer || (!name.empty() && registration->name != name))
            return false;
        // Callbacks already being run from a snapshot skip it from now on.
        registration->removed = true;
        affected.push_back(registration->name);
        return true;
    });
    for (auto& removedName : affected)
        unsubscribeIfUnused(removedName);
}

void DarwinNotifyCenter::removeEveryObserver(void* observer)
{
    removeObserver(observer, {});
}

bool DarwinNotifyCenter::post(std::string_view name)
{
    if (!protocol::isValidName(name))
        return false;
    std::string line = "POST " + std::string(name) + "\n";
    // A failed send drops a connection whose broker has gone; the second try reaches a broker
    // that has taken its place.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (ensureConnected() && send(line))
            return true;
    }
    // No broker: the post stays in this process.
    receive(std::string(name), false);
    return true;
}

bool DarwinNotifyCenter::ensureConnected()
{
    if (m_fd >= 0)
        return true;
    auto path = foundation::DeviceRoot::resolve(protocol::socketDevicePath);
    if (!path)
        return false;
    int fd = support::UnixSocket::connect(*path);
    if (fd < 0)
        return false;
    stopWatchingForBroker();
    m_fd = fd;
    ++m_connectionSerial;
    m_input.clear();
    m_source = foundation::RunLoop::main().addSource(fd, [this] { readFromBroker(); });
    std::vector<std::string> names;
    for (auto& registration : m_registrations) {
        if (std::find(names.begin(), names.end(), registration->name) == names.end())
            names.push_back(registration->name);
    }
    for (auto& name : names)
        subscribe(name);
    return isConnected();
}

namespace {

// Stops the run loop watching a descriptor, then closes it. False when it was not open.
bool closeWatched(int& fd, foundation::ObserverToken& source)
{
    if (fd < 0)
        return false;
    source.reset();
    ::close(fd);
    fd = -1;
    return true;
}

}

void DarwinNotifyCenter::disconnect()
{
    if (!closeWatched(m_fd, m_source))
        return;
    m_input.clear();
    // The broker forgets what it sent on a closed connection, so nothing is owed any more; the
    // callbacks still run for what already arrived.
    for (auto& [name, pending] : m_pending) {
        pending.local += pending.fromBroker;
        pending.fromBroker = 0;
    }
}

void DarwinNotifyCenter::subscribe(const std::string& name)
{
    send("REG " + name + "\n");
}

void DarwinNotifyCenter::unsubscribeIfUnused(const std::string& name)
{
    if (isConnected() && !isObserved(name))
        send("UNREG " + name + "\n");
}

bool DarwinNotifyCenter::send(std::string_view line)
{
    if (m_fd < 0)
        return false;
    if (support::UnixSocket::sendAll(m_fd, line))
        return true;
    disconnect();
    return false;
}

void DarwinNotifyCenter::readFromBroker()
{
    char buffer[4096];
    while (m_fd >= 0) {
        ssize_t received = ::recv(m_fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (received < 0 && errno == EINTR)
            continue;
        if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (received <= 0) {
            disconnect(); // the broker went away
            watchForBroker();
            return;
        }
        m_input.append(buffer, static_cast<size_t>(received));
        std::vector<std::string> notes;
        bool withinLimit = protocol::takeLines(m_input, [&](std::string_view line) {
            auto [verb, argument] = protocol::parseLine(line);
            if (verb == "NOTE" && protocol::isValidName(argument))
                notes.emplace_back(argument);
        });
        for (auto& name : notes)
            receive(name, true);
        if (!withinLimit) {
            disconnect();
            return;
        }
    }
}

void DarwinNotifyCenter::receive(const std::string& name, bool fromBroker)
{
    auto [it, inserted] = m_pending.try_emplace(name);
    if (fromBroker)
        ++it->second.fromBroker;
    else
        ++it->second.local;
    ++m_receivedNotRun;
    // One queued run per name: deliveries arriving before it runs merge into it.
    if (inserted)
        foundation::RunLoop::main().dispatch([this, name] { runCallbacks(name); });
}

void DarwinNotifyCenter::runCallbacks(const std::string& name)
{
    auto it = m_pending.find(name);
    if (it == m_pending.end())
        return; // forgotten after fork
    PendingName pending = it->second;
    m_pending.erase(it);
    m_receivedNotRun -= pending.fromBroker + pending.local;
    unsigned serial = m_connectionSerial;

    auto snapshot = m_registrations;
    for (auto& registration : snapshot) {
        if (!registration->removed && registration->name == name)
            registration->callback(this, registration->observer, name, nullptr, nullptr);
    }

    if (pending.fromBroker && isConnected() && serial == m_connectionSerial) {
        std::string acks;
        for (size_t i = 0; i < pending.fromBroker; ++i)
            acks += "ACK\n";
        send(acks);
    }
}

void DarwinNotifyCenter::watchForBroker()
{
    if (m_watchFd >= 0 || m_registrations.empty())
        return;
    // A broker may already be back.
    if (ensureConnected())
        return;
    auto path = foundation::DeviceRoot::resolve(protocol::socketDevicePath);
    if (!path)
        return;
    std::string folder = path->substr(0, path->rfind('/'));
    int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0)
        return;
    if (::inotify_add_watch(fd, folder.c_str(), IN_CREATE | IN_MOVED_TO | IN_ATTRIB) < 0) {
        ::close(fd);
        return;
    }
    m_watchFd = fd;
    m_watchSource = foundation::RunLoop::main().addSource(fd, [this] { brokerSocketChanged(); });
}

void DarwinNotifyCenter::brokerSocketChanged()
{
    // Other files of the folder come and go too (the hosts' control sockets): only the broker's
    // socket is worth a connection attempt.
    auto socketName = std::string(protocol::socketDevicePath.substr(protocol::socketDevicePath.rfind('/') + 1));
    bool brokerSocket = false;
    alignas(inotify_event) char events[4096];
    ssize_t length;
    while (m_watchFd >= 0 && (length = ::read(m_watchFd, events, sizeof events)) > 0) {
        for (ssize_t offset = 0; offset < length;) {
            auto* event = reinterpret_cast<const inotify_event*>(events + offset);
            if (event->len > 0 && socketName == event->name)
                brokerSocket = true;
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    if (!brokerSocket)
        return;
    // The broker creates its socket and listens on it a moment later: a connection refused in
    // between is tried again, briefly.
    for (int attempt = 0; attempt < 50 && m_watchFd >= 0; ++attempt) {
        if (ensureConnected())
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void DarwinNotifyCenter::stopWatchingForBroker()
{
    closeWatched(m_watchFd, m_watchSource);
}

void DarwinNotifyCenter::forgetAfterFork()
{
    stopWatchingForBroker();
    if (m_fd >= 0) {
        m_source.reset();
        ::close(m_fd); // only the child's copy: the parent's connection is untouched
        m_fd = -1;
    }
    m_input.clear();
    m_pending.clear();
    m_receivedNotRun = 0;
}

}
