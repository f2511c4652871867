#pragma once

#include <foundation/Forward.h>
#include <foundation/ObserverToken.h>
#include <runtime/RefPtr.h>
#include <springboard/Forward.h>
#include <uikit/UIAlertView.h>

#include <functional>
#include <string>

namespace tweak {

// The confirmation the swipe gestures open: "Kill" for one application (stating its memory), "Kill"
// for the running applications of a folder (stating their count and memory) or "Clear" for an
// icon's badge. It is its own delegate and acts on its second button only; "Cancel" just closes it.
// It draws the dark rounded panel shared with the settings pane's alert instead of the stock one.
//
// Shown as soon as it is made; the alert window then holds it, so the caller drops its reference at
// once. TorvaneSuicide (device locking, an application coming to the front) closes every open one
// without acting.
class CustomPassAlertViewTQ final : public uikit::UIAlertView, public uikit::UIAlertViewDelegate {
    TORVANE_OBJECT(CustomPassAlertViewTQ, uikit::UIAlertView)
    TORVANE_ADOPTS(uikit::UIAlertViewDelegate)
public:
    enum class Kind { Folder, Application, Badge, Plain };

    // initWithFrame:andAppName:withID:andPID:andFolderIDS:getGlowView:withIcon:. The kind follows
    // from what is given, in this order: a glow view and folder identifiers make the folder kind,
    // an identifier without an icon the application kind, an icon the badge kind. `name` is the
    // title.
    static runtime::Ref<CustomPassAlertViewTQ> create(uikit::CGRect frame, const foundation::NSString* name,
        const foundation::NSString* identifier, int pid, const foundation::NSArray* folderIdentifiers,
        runtime::RefPtr<uikit::UIView> glowView, runtime::RefPtr<springboard::SBIcon> icon);

    // The three kinds by name, each over the whole screen, titled with the icon's name: "Kill" for
    // the application of the identifier (its memory read by process id), "Kill" for the folder's
    // applications (whose indicator goes once they end), "Clear" for the icon's badge.
    static runtime::Ref<CustomPassAlertViewTQ> confirmEndingApplication(const foundation::NSString& name,
        const foundation::NSString& identifier, int pid);
    static runtime::Ref<CustomPassAlertViewTQ> confirmEndingFolder(const foundation::NSString& name,
        const foundation::NSArray& identifiers, runtime::Ref<uikit::UIView> glowView);
    static runtime::Ref<CustomPassAlertViewTQ> confirmClearingBadge(const foundation::NSString& name,
        runtime::Ref<springboard::SBIcon> icon);

    ~CustomPassAlertViewTQ() override;

    Kind kind() const { return m_kind; }

    void alertViewClickedButtonAtIndex(uikit::UIAlertView&, int buttonIndex) override;

    // Ends the listed applications as SavedSwipeSettings::superFinallyKillTheseApps does.
    bool finallyKillTheseApps(const foundation::NSArray* bundleIdentifiers);
    // Closes the alert with an index that has no button, so nothing is done.
    void commitSuicide();

    void layoutSubviews() override;
    void drawRect(uikit::CGRect rect) override;

    // Where the memory figures ("%f" megabytes of a process id) come from; the probe unless replaced.
    // An empty function restores the probe.
    using MemoryReading = std::function<std::string(int pid)>;
    static void setMemoryReading(MemoryReading);

private:
    CustomPassAlertViewTQ(uikit::CGRect frame);
    static std::string memoryOf(int pid);
    // "%f" text less its last four characters: two decimals, cut rather than rounded.
    static std::string twoDecimals(const std::string& megabytes);

    Kind m_kind { Kind::Plain };
    runtime::RefPtr<foundation::NSArray> m_allIdentifiers;
    runtime::RefPtr<uikit::UIView> m_glowView;
    runtime::RefPtr<foundation::NSString> m_identifier;
    runtime::RefPtr<springboard::SBIcon> m_icon;
    foundation::ObserverToken m_suicideObserver;
};

}
