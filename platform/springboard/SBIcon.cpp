#include <springboard/SBIcon.h>

#include <foundation/NSNumber.h>
#include <foundation/NSString.h>
#include <runtime/WeakPtr.h>

#include <vector>

namespace springboard {

TORVANE_DEFINE_CLASS(SBIcon)

void SBIcon::setBadge(const runtime::Object* badge)
{
    int value = 0;
    if (auto* number = runtime::dynamicCast<foundation::NSNumber>(badge))
        value = number->intValue();
    else if (auto* text = runtime::dynamicCast<foundation::NSString>(badge))
        value = text->intValue();
    setBadgeValue(value);
}

void SBIcon::setBadgeValue(int value)
{
    if (value < 0)
        value = 0;
    if (value == m_badgeValue)
        return;
    m_badgeValue = value;
    notifyChanged();
}

void SBIcon::setIconImage(runtime::RefPtr<uikit::UIImage> image)
{
    m_iconImage = std::move(image);
    notifyChanged();
}

foundation::ObserverToken SBIcon::observeChanges(std::function<void()> handler)
{
    uint64_t id = m_nextObserver++;
    m_observers.emplace(id, std::move(handler));
    runtime::WeakPtr<SBIcon> weakThis(this);
    return foundation::ObserverToken([weakThis, id] {
        if (auto* icon = weakThis.get())
            icon->m_observers.erase(id);
    });
}

void SBIcon::notifyChanged()
{
    runtime::Ref<SBIcon> protectedThis(*this);
    // Copied ids: a handler may drop its own token or another's while we go.
    std::vector<uint64_t> ids;
    for (auto& [id, handler] : m_observers)
        ids.push_back(id);
    for (uint64_t id : ids) {
        auto it = m_observers.find(id);
        if (it != m_observers.end()) {
            auto handler = it->second;
            handler();
        }
    }
}

}
