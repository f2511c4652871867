#pragma once

// A folder of application icons. Its node identifiers are the bundle identifiers of the
// applications inside it. It watches its icons so that its own icon on a page follows their badges.

#include <springboard/Forward.h>

#include <foundation/NSSet.h>
#include <foundation/ObserverToken.h>
#include <runtime/Object.h>
#include <runtime/WeakPtr.h>

#include <string>
#include <string_view>
#include <vector>

namespace springboard {

class SBFolder : public runtime::Object {
    TORVANE_OBJECT(SBFolder, runtime::Object)
public:
    static runtime::Ref<SBFolder> create(std::string displayName);
    ~SBFolder() override;

    const std::string& displayName() const { return m_displayName; }
    const std::vector<runtime::Ref<SBIcon>>& icons() const { return m_icons; }
    void addIcon(runtime::Ref<SBIcon> icon);
    // A set of NSString bundle identifiers.
    runtime::Ref<foundation::NSSet> containedNodeIdentifiers() const;
    bool containsNodeIdentifier(std::string_view identifier) const;
    // The badges of the icons inside added up (kept within an int, as a badge is).
    int badgeValue() const;

    // The folder's own icon on a page (weak: the icon owns the folder).
    SBFolderIcon* icon() const;
    void setIcon(SBFolderIcon* icon);

    std::string description() const override;

private:
    explicit SBFolder(std::string displayName);
    void contentsDidChange();

    std::string m_displayName;
    std::vector<runtime::Ref<SBIcon>> m_icons;
    std::vector<foundation::ObserverToken> m_iconObservations;
    runtime::WeakPtr<SBFolderIcon> m_icon;
};

}
