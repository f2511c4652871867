#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The wire protocol between Darwin-notification clients and the notifyd broker.
//
// A Unix stream socket at the device path /var/run/notifyd.sock. Both directions carry text lines
// ending in '\n'; a verb, and for most verbs one space and an argument that runs to the end of the
// line. A notification name is 1 to maxNameLength bytes with no '\n' and no NUL; it may contain
// spaces.
//
// Client to broker:
//   REG name      subscribe this connection to `name` (subscribing twice is the same as once)
//   UNREG name    drop that subscription
//   POST name     deliver `name` to every connection subscribed to it, the poster included
//   ACK           one delivery this connection received has been handled: its callbacks ran
//   STATUS        ask how many deliveries are outstanding; answered by PENDING
//
// Broker to client:
//   NOTE name     a delivery; the client answers with one ACK once its callbacks have run
//   PENDING n     deliveries sent (to any client) and not yet acknowledged, in decimal
//
// Before answering STATUS the broker reads and handles everything the other connections have
// already written, so a POST (or REG) whose write returned before the STATUS was sent is counted.
// That is what lets a driver wait until every process has handled all that it caused: poll
// STATUS until it says PENDING 0 and each process's run loop is idle.
//
// When a connection closes, its subscriptions and its outstanding deliveries are dropped. A line
// longer than maxLineLength, or a client that stops reading until maxQueuedBytes are waiting for
// it, gets its connection closed. Unknown verbs are ignored.
namespace notify::protocol {

constexpr std::string_view socketDevicePath = "/var/run/notifyd.sock";
constexpr size_t maxNameLength = 1024;
constexpr size_t maxLineLength = maxNameLength + 16;
constexpr size_t maxQueuedBytes = 1 << 20;

bool isValidName(std::string_view name);

struct Line {
    std::string_view verb;
    std::string_view argument;
};
// Splits one line (without its '\n') at the first space.
Line parseLine(std::string_view line);

// Takes complete lines off the front of `buffer`, calling `handle` for each. Returns false when
// the unfinished rest is already longer than maxLineLength (the peer is misbehaving).
template<typename Handler>
bool takeLines(std::string& buffer, Handler&& handle)
{
    size_t start = 0;
    while (true) {
        size_t end = buffer.find('\n', start);
        if (end == std::string::npos)
            break;
        handle(std::string_view(buffer).substr(start, end - start));
        start = end + 1;
    }
    buffer.erase(0, start);
    return buffer.size() <= maxLineLength;
}

}
