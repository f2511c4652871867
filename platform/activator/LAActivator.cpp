#include <activator/LAActivator.h>

#include <foundation/NSData.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSFileManager.h>
#include <foundation/NSLog.h>
#include <foundation/NSMutableDictionary.h>
#include <foundation/NSString.h>

#include <utility>

namespace activator {

using foundation::NSDictionary;
using foundation::NSMutableDictionary;
using foundation::NSString;
using runtime::Ref;
using runtime::RefPtr;

TORVANE_DEFINE_CLASS(LAActivator)

namespace {

// The assignments file: { Assignments = { EVENT = LISTENER; ... }; }.
constexpr std::string_view assignmentsKey = "Assignments";

RefPtr<NSDictionary> readAssignments()
{
    auto file = NSDictionary::dictionaryWithContentsOfFile(LAActivator::assignmentsPath);
    return file ? file->dictionaryForKey(assignmentsKey) : nullptr;
}

// Rewrites the assignments with `change` applied. An unreadable file is the library's own store
// and holds nothing worth keeping, so it is replaced rather than left blocking every assignment.
template<typename Change>
bool updateAssignments(Change change)
{
    auto file = NSMutableDictionary::dictionaryWithContentsOfFile(LAActivator::assignmentsPath);
    if (!file)
        file = NSMutableDictionary::create();
    auto existing = file->dictionaryForKey(assignmentsKey);
    auto assignments = existing ? existing->mutableCopy() : NSMutableDictionary::create();
    change(*assignments);
    file->setObjectForKey(assignments, assignmentsKey);
    return file->writeToFile(LAActivator::assignmentsPath, true);
}

}

bool LAActivator::isInstalled()
{
    return foundation::NSFileManager::defaultManager().fileExistsAtPath(libraryPath);
}

LAActivator& LAActivator::sharedInstance()
{
    // Never destroyed: listeners may be called until the process ends.
    static LAActivator* shared = new LAActivator;
    return *shared;
}

void LAActivator::registerListener(Ref<runtime::Object> owner, LAListener& listener, std::string_view name)
{
    if (name.empty())
        return;
    auto it = m_listeners.find(name);
    if (it == m_listeners.end()) {
        m_listeners.emplace(std::string(name), Registration { std::move(owner), &listener });
        return;
    }
    // The replaced listener is released only after the table is consistent again.
    Registration replaced = std::exchange(it->second, Registration { std::move(owner), &listener });
}

void LAActivator::unregisterListener(std::string_view name)
{
    // Moved out first: the listener may be released here, and its destructor may call back in.
    auto it = m_listeners.find(name);
    if (it == m_listeners.end())
        return;
    Registration removed = std::move(it->second);
    m_listeners.erase(it);
}

bool LAActivator::hasListenerWithName(std::string_view name) const
{
    return m_listeners.contains(name);
}

std::vector<std::string> LAActivator::listenerNames() const
{
    std::vector<std::string> names;
    for (auto& [name, registration] : m_listeners)
        names.push_back(name);
    return names;
}

RefPtr<NSString> LAActivator::assignedListenerNameForEvent(const LAEvent& event) const
{
    return assignedListenerNameForEvent(event.name());
}

RefPtr<NSString> LAActivator::assignedListenerNameForEvent(std::string_view eventName) const
{
    auto assignments = readAssignments();
    if (!assignments)
        return nullptr;
    auto name = assignments->stringForKey(eventName);
    if (!name || name->string().empty())
        return nullptr;
    return name;
}

bool LAActivator::assignEvent(std::string_view eventName, std::string_view listenerName)
{
    if (eventName.empty() || listenerName.empty())
        return false;
    return updateAssignments([&](NSMutableDictionary& assignments) {
        assignments.setObjectForKey(foundation::NSStr(listenerName), eventName);
    });
}

bool LAActivator::unassignEvent(std::string_view eventName)
{
    return updateAssignments([&](NSMutableDictionary& assignments) { assignments.removeObjectForKey(eventName); });
}

std::optional<LAActivator::Registration> LAActivator::registrationFor(std::string_view name) const
{
    auto it = m_listeners.find(name);
    if (it == m_listeners.end())
        return std::nullopt;
    return it->second;
}

bool LAActivator::deliver(LAEvent& event, Delivery delivery)
{
    auto listenerName = assignedListenerNameForEvent(event);
    if (!listenerName)
        return false;
    auto registration = registrationFor(listenerName->string());
    if (!registration)
        return false;
    Ref<LAEvent> protectedEvent(event);
    if (delivery == Delivery::Abort)
        registration->listener->activatorAbortEvent(*this, event, listenerName->string());
    else
        registration->listener->activatorReceiveEvent(*this, event, listenerName->string());
    return true;
}

bool LAActivator::sendEventToListener(LAEvent& event)
{
    return deliver(event, Delivery::Receive);
}

Ref<LAEvent> LAActivator::sendEvent(std::string_view eventName, std::string_view mode)
{
    auto event = LAEvent::eventWithName(std::string(eventName), std::string(mode));
    if (!sendEventToListener(event))
        foundation::NSLog("Activator: no listener for event %s", eventName);
    return event;
}

bool LAActivator::sendAbortEventToListener(LAEvent& event)
{
    return deliver(event, Delivery::Abort);
}

RefPtr<NSString> LAActivator::localizedTitleForListenerName(std::string_view name)
{
    auto registration = registrationFor(name);
    return registration ? registration->listener->activatorRequiresLocalizedTitleForListenerName(*this, std::string(name)) : nullptr;
}

RefPtr<NSString> LAActivator::localizedDescriptionForListenerName(std::string_view name)
{
    auto registration = registrationFor(name);
    return registration ? registration->listener->activatorRequiresLocalizedDescriptionForListenerName(*this, std::string(name))
                        : nullptr;
}

RefPtr<foundation::NSData> LAActivator::smallIconDataForListenerName(std::string_view name, float scale)
{
    auto registration = registrationFor(name);
    return registration
        ? registration->listener->activatorRequiresSmallIconDataForListenerNameScale(*this, std::string(name), scale)
        : nullptr;
}

}
