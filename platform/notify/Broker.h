#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace notify {

// The notifyd broker: keeps name -> subscribed connections and fans posts out to them (see
// Protocol.h for the wire format and the acknowledgement count). Single-threaded, driven by
// poll(2); every socket is non-blocking and every connection has its own outgoing queue, so one
// slow client can never stall the others.
class Broker {
public:
    // Binds and listens at `socketPath` (a host path). A stale socket file left by a broker that
    // died is replaced; a live broker at that path is an error. Returns null and sets `error` on
    // failure.
    static std::unique_ptr<Broker> create(std::string socketPath, std::string& error);
    // Closes every connection and removes the socket file if it is still the one we made.
    ~Broker();

    Broker(const Broker&) = delete;
    Broker& operator=(const Broker&) = delete;

    // Serves until `stopFd` (e.g. a signalfd) becomes readable.
    void serve(int stopFd);
    // One round: waits up to `timeoutMilliseconds` (-1: forever) and handles what is ready.
    // Returns false when `stopFd` became readable.
    bool serveOnce(int timeoutMilliseconds, int stopFd = -1);

    size_t pendingDeliveries() const;
    size_t connectionCount() const { return m_clients.size(); }
    const std::string& socketPath() const { return m_socketPath; }

private:
    struct Client {
        int fd;
        std::string input;
        std::string output;
        std::set<std::string, std::less<>> names;
        size_t pending { 0 };
        bool closing { false };
    };

    Broker(std::string socketPath, int listenFd);
    void acceptAll();
    void readFrom(uint64_t id);
    void handleLine(uint64_t id, std::string_view line);
    void deliver(Client&, std::string_view name);
    void queue(Client&, std::string_view text);
    void flush(Client&);
    void drainOthers(uint64_t except);
    void reapClosed();
    Client* find(uint64_t id);

    std::string m_socketPath;
    int m_listenFd;
    dev_t m_socketDevice { 0 };
    ino_t m_socketInode { 0 };
    uint64_t m_nextId { 1 };
    std::map<uint64_t, std::unique_ptr<Client>> m_clients; // id order = connection order
    std::map<std::string, std::set<uint64_t>, std::less<>> m_subscribers;
    bool m_draining { false };
};

}
