#pragma once

// An item of the home screen: an application icon or a folder icon. Icons are model objects; every
// icon-view map shows an icon through its own SBIconView.
//
// Badges: badgeValue is a whole number, 0 when no badge shows. setBadge takes what the device's
// takes: nil or 0 clears, a number or a text holding a number sets it (its intValue; negative
// values clear). A folder icon has no badge of its own: it shows its applications' badges added up.

#include <springboard/Forward.h>

#include <foundation/ObserverToken.h>
#include <runtime/Object.h>
#include <uikit/UIImage.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace springboard {

class SBIcon : public runtime::Object {
    TORVANE_OBJECT(SBIcon, runtime::Object)
public:
    virtual bool isFolderIcon() const { return false; }
    // The bundle identifier of an application icon; a folder icon's own node identifier.
    virtual std::string leafIdentifier() const = 0;
    // leafIdentifier() == identifier, without making a copy of it: asked of every icon whenever
    // an application starts or ends.
    virtual bool hasLeafIdentifier(std::string_view identifier) const { return leafIdentifier() == identifier; }
    virtual std::string displayName() const = 0;
    virtual SBApplication* application() const { return nullptr; }
    virtual SBFolder* folder() const { return nullptr; }

    virtual int badgeValue() const { return m_badgeValue; }
    void setBadge(const runtime::Object* badge);
    virtual void setBadgeValue(int value);

    // Whether the user may delete the icon from the home screen, so it shows a close box while icons
    // are edited.
    virtual bool isRemovable() const { return false; }

    // The 59 x 59 point image shown in icon views.
    uikit::UIImage* iconImage() const { return m_iconImage.get(); }
    void setIconImage(runtime::RefPtr<uikit::UIImage> image);

    // Called whenever the badge (a folder icon's sum too) or the image changes, so icon views can
    // refresh themselves.
    foundation::ObserverToken observeChanges(std::function<void()> handler);

protected:
    SBIcon() = default;
    void notifyChanged();

private:
    int m_badgeValue { 0 };
    runtime::RefPtr<uikit::UIImage> m_iconImage;
    std::map<uint64_t, std::function<void()>> m_observers;
    uint64_t m_nextObserver { 1 };
};

}
