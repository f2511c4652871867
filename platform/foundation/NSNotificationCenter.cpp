#include <foundation/NSNotificationCenter.h>

#include <algorithm>
#include <iterator>

namespace foundation {

TORVANE_DEFINE_CLASS(NSNotificationCenter)

NSNotificationCenter& NSNotificationCenter::defaultCenter()
{
    // Never destroyed: observer tokens held by static objects may unregister at exit.
    static NSNotificationCenter* center = create().leakPtr();
    return *center;
}

runtime::Ref<NSNotificationCenter> NSNotificationCenter::create()
{
    return runtime::adoptRef(*new NSNotificationCenter);
}

ObserverToken NSNotificationCenter::addObserver(std::string name, const runtime::Object* object, Handler handler)
{
    uint64_t id = m_nextId++;
    auto observer = std::make_shared<Observer>(Observer { id, std::move(name), object != nullptr,
        runtime::WeakPtr<runtime::Object>(object), std::move(handler) });
    m_byId.emplace(id, observer);
    (observer->name.empty() ? m_ofEveryName : m_byName[observer->name]).push_back(std::move(observer));
    // The token may outlive a centre made with create(); it then has nothing to remove.
    runtime::WeakPtr<NSNotificationCenter> center(this);
    return ObserverToken([center, id] {
        if (auto* strong = center.get())
            strong->removeObserver(id);
    });
}

void NSNotificationCenter::removeObserver(uint64_t id)
{
    auto found = m_byId.find(id);
    if (found == m_byId.end())
        return;
    auto observer = std::move(found->second);
    m_byId.erase(found);
    // A post in progress still holds the observer; the flag keeps it from being called.
    observer->removed = true;
    auto named = observer->name.empty() ? m_byName.end() : m_byName.find(observer->name);
    auto& list = named == m_byName.end() ? m_ofEveryName : named->second;
    list.erase(std::find(list.begin(), list.end(), observer));
    if (named != m_byName.end() && list.empty())
        m_byName.erase(named);
}

NSNotificationCenter::ObserverList NSNotificationCenter::observersFor(const std::string& name) const
{
    auto named = m_byName.find(name);
    if (named == m_byName.end())
        return m_ofEveryName;
    if (m_ofEveryName.empty())
        return named->second;
    ObserverList merged;
    merged.reserve(named->second.size() + m_ofEveryName.size());
    std::merge(named->second.begin(), named->second.end(), m_ofEveryName.begin(), m_ofEveryName.end(), std::back_inserter(merged),
        [](const auto& a, const auto& b) { return a->id < b->id; });
    return merged;
}

bool NSNotificationCenter::matches(const Observer& observer, const NSNotification& notification)
{
    if (!observer.name.empty() && observer.name != notification.name())
        return false;
    if (observer.filtersObject) {
        const runtime::Object* filter = observer.object.get();
        if (!filter || filter != notification.object().get())
            return false;
    }
    return true;
}

void NSNotificationCenter::postNotificationName(std::string name, runtime::RefPtr<runtime::Object> object,
    runtime::RefPtr<NSDictionary> userInfo)
{
    auto notification = NSNotification::create(std::move(name), std::move(object), std::move(userInfo));
    postNotification(notification);
}

void NSNotificationCenter::postNotification(NSNotification& notification)
{
    runtime::Ref<NSNotificationCenter> protectCenter(*this);
    runtime::Ref<NSNotification> protectNotification(notification);
    auto snapshot = observersFor(notification.name());
    for (auto& observer : snapshot) {
        if (observer->removed || !matches(*observer, notification))
            continue;
        observer->handler(notification);
    }
}

}
