#include <foundation/NSNotificationCenter.h>

#include <algorithm>

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
    m_observers.push_back(std::move(observer));
    // The token may outlive a centre made with create(); it then has nothing to remove.
    runtime::WeakPtr<NSNotificationCenter> center(this);
    return ObserverToken([center, id] {
        if (auto* strong = center.get())
            strong->removeObserver(id);
    });
}

void NSNotificationCenter::removeObserver(uint64_t id)
{
    auto it = std::find_if(m_observers.begin(), m_observers.end(), [id](auto& observer) { return observer->id == id; });
    if (it == m_observers.end())
        return;
    // A post in progress still holds the observer; the flag keeps it from being called.
    (*it)->removed = true;
    m_observers.erase(it);
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
    auto snapshot = m_observers;
    for (auto& observer : snapshot) {
        if (observer->removed || !matches(*observer, notification))
            continue;
        observer->handler(notification);
    }
}

}
