#pragma once

#include <foundation/Forward.h>
#include <foundation/ObserverToken.h>

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace notify {

class DarwinNotifyCenter;

// The callback shape of CFNotificationCenterAddObserver. Darwin notifications carry a name only:
// `object` and `userInfo` are always null.
using DarwinNotificationCallback = void (*)(DarwinNotifyCenter* center, void* observer, std::string_view name,
    const void* object, const foundation::NSDictionary* userInfo);

// The process's Darwin notification centre: names only, system-wide through the notifyd broker.
//
// Callbacks always run on the main run loop, never inside the call that posted, even when poster
// and observer are in the same process. Several deliveries of one name that arrive before its
// callbacks ran are merged into one run of the callbacks (Darwin notifications coalesce).
//
// The centre connects to the broker at the device's /var/run/notifyd.sock whenever it is used
// and not connected. Without a broker (unit tests, or before the device has booted), a post
// reaches only this process's observers. When the connection drops, the centre falls back to that
// and reconnects on next use, registering its names again. A centre with observers does not wait
// for a next use when its broker goes away: it watches the socket's folder and reconnects as
// soon as a broker listens there again, so notifications posted after a broker restart reach it.
//
// After fork() the child starts without a connection (the parent's stays the parent's) and with
// no deliveries pending; its observers are kept and reconnect on first use.
class DarwinNotifyCenter {
public:
    static DarwinNotifyCenter& shared();

    DarwinNotifyCenter(const DarwinNotifyCenter&) = delete;
    DarwinNotifyCenter& operator=(const DarwinNotifyCenter&) = delete;

    // Registering the same observer, callback and name again changes nothing. Invalid names
    // (empty, too long, containing a newline) are ignored.
    void addObserver(void* observer, DarwinNotificationCallback, std::string_view name);
    // Removes `observer`'s registrations for `name`, or for every name when `name` is empty.
    void removeObserver(void* observer, std::string_view name);
    void removeEveryObserver(void* observer);
    // False for an invalid name.
    bool post(std::string_view name);

    // Deliveries that reached this process and whose callbacks have not run yet.
    size_t deliveriesReceivedNotRun() const { return m_receivedNotRun; }
    bool isConnected() const { return m_fd >= 0; }
    // Closes the broker connection (the next use connects again).
    void disconnect();

private:
    DarwinNotifyCenter();

    struct Registration {
        void* observer;
        DarwinNotificationCallback callback;
        std::string name;
        bool removed { false };
    };
    struct PendingName {
        size_t fromBroker { 0 }; // each owes the broker one ACK once the callbacks ran
        size_t local { 0 };
    };

    bool ensureConnected();
    void subscribe(const std::string& name);
    void unsubscribeIfUnused(const std::string& name);
    void readFromBroker();
    void receive(const std::string& name, bool fromBroker);
    void runCallbacks(const std::string& name);
    bool send(std::string_view line);
    bool isObserved(std::string_view name) const;
    void forgetAfterFork();
    // Watches the broker socket's folder until a broker listens there again, then reconnects.
    void watchForBroker();
    void brokerSocketChanged();
    void stopWatchingForBroker();

    std::vector<std::shared_ptr<Registration>> m_registrations;
    std::map<std::string, PendingName, std::less<>> m_pending;
    size_t m_receivedNotRun { 0 };
    int m_fd { -1 };
    std::string m_input;
    foundation::ObserverToken m_source;
    // Counts connections, so deliveries taken on one connection are never acknowledged on a later
    // one (the broker forgot them when the first one closed).
    unsigned m_connectionSerial { 0 };
    int m_watchFd { -1 };
    foundation::ObserverToken m_watchSource;
};

}
