#pragma once

#include <foundation/NSNotification.h>
#include <foundation/ObserverToken.h>
#include <runtime/Object.h>
#include <runtime/WeakPtr.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace foundation {

// In-process notifications, delivered synchronously on the posting thread to observers in the
// order they registered.
//
// Posting works on a copy of the observer list, so handlers may add and remove observers: one
// added during a post is not called by that post; one removed during a post is not called after
// its removal, even by the post in progress.
class NSNotificationCenter : public runtime::Object {
    TORVANE_OBJECT(NSNotificationCenter, runtime::Object)
public:
    using Handler = std::function<void(NSNotification&)>;

    static NSNotificationCenter& defaultCenter();
    // A separate centre, for code that wants its own (and for tests).
    static runtime::Ref<NSNotificationCenter> create();

    // `name` empty observes every name. `object` non-null observes only notifications whose
    // object is that very object (identity, not equality). The filter is held weakly: once that
    // object dies the observer matches nothing, so a new object at the same address is never
    // mistaken for it. The token removes the observer when destroyed or reset.
    ObserverToken addObserver(std::string name, const runtime::Object* object, Handler);

    void postNotificationName(std::string name, runtime::RefPtr<runtime::Object> object = nullptr,
        runtime::RefPtr<NSDictionary> userInfo = nullptr);
    void postNotification(NSNotification&);

    size_t observerCount() const { return m_byId.size(); }

private:
    NSNotificationCenter() = default;

    struct Observer {
        uint64_t id;
        std::string name;
        bool filtersObject;
        runtime::WeakPtr<runtime::Object> object;
        Handler handler;
        bool removed { false };
    };

    using ObserverList = std::vector<std::shared_ptr<Observer>>;

    void removeObserver(uint64_t id);
    static bool matches(const Observer&, const NSNotification&);
    // The observers a notification of that name may concern, in registration order.
    ObserverList observersFor(const std::string& name) const;

    // Each list in registration order (ids rise). A post looks only at its name's list and the
    // observers of every name: SpringBoard has a few observers on each of hundreds of icons.
    std::unordered_map<std::string, ObserverList> m_byName;
    ObserverList m_ofEveryName;
    std::unordered_map<uint64_t, std::shared_ptr<Observer>> m_byId;
    uint64_t m_nextId { 1 };
};

}
