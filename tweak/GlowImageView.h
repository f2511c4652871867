#pragma once

#include <foundation/ObserverToken.h>
#include <foundation/ScheduledCall.h>
#include <runtime/WeakPtr.h>
#include <uikit/UIImageView.h>

#include <vector>

namespace springboard {
class SBIconView;
}

namespace tweak {

// The running-app indicator: the themed image behind an icon, shown while the icon's application
// runs (or, on a folder icon, while one of the folder's applications runs). It lives as the icon
// view's subview with tag `indicatorTag` at index 0 and dies with it. Hidden is alpha 0, visible is
// alpha = the OpacityValue setting; every change is immediate.
//
// The gesture acts only on an icon whose indicator is visible, so the visibility rule here is also
// the rule for what a home-screen swipe may end.
class GlowImageView final : public uikit::UIImageView {
    TORVANE_OBJECT(GlowImageView, uikit::UIImageView)
public:
    static constexpr int indicatorTag = 567;

    // initWithFrame:withIcon:isFolder: — starts hidden, with the dock setting from the cache, and
    // observes the add-on's four indicator notifications until it is released.
    static runtime::Ref<GlowImageView> initWithFrameWithIconIsFolder(uikit::CGRect frame, springboard::SBIconView* iconView, bool isFolder);
    // A bare indicator that an archived copy is read into: it observes nothing, so a detached copy
    // of an icon view never reacts to the add-on's notifications.
    static runtime::Ref<GlowImageView> createForArchive();
    // The theme frame from the settings cache, with y = -10 when the image goes above the icon.
    static uikit::CGRect themeFrame();
    // The selected theme's image (decoded once for all indicators while the file is unchanged).
    static runtime::RefPtr<uikit::UIImage> themeImage();
    // The indicator of an icon view, if it has one.
    static GlowImageView* indicatorOf(const springboard::SBIconView& iconView);

    // NO while the switcher bar shows, while the icon is ghostly, in the dock under DisableOnDock,
    // for a disabled or never-ended application, and for a folder without a running application
    // that may be ended.
    bool canShowImageView() const;
    bool checkIfFolderHasOpenApp() const;
    // Shows when the application runs (a folder: always) and canShowImageView; else hides.
    void checkAndUpdateAlpha();
    // The delayed show after a start: rechecks, since the switcher or the settings may have changed.
    void makeVisibleAfterDelay();
    void setSwitcherIsVisible(bool visible);
    // DashmereHideAllViews: a YES number hides; anything else rechecks.
    void hideAllViewsInSwitcher(const runtime::Object* showing);
    // SpringBoard mapped the icon view again.
    void reloadImageInfoWithNewIconView(springboard::SBIconView* iconView);
    // SwipeUpdateColorImageView: re-reads frame, image and the dock setting, then rechecks.
    void settingsUpdatedSoUpdateImage();
    // DashmereUpdateVisibility {BundleID, ToFadeIn}: an application indicator follows its own
    // application, hiding at once on an end and showing 0.35 seconds after a start; a folder
    // indicator rechecks on every change, hiding at once or showing after the same delay.
    void updateVisibility(const runtime::Object* change);
    // TorvaneAnimateOutForOpenFolder: everything outside the opened folder hides.
    void animateAwayForOpenFolder(const runtime::Object* folder);

    springboard::SBIconView* appIcon() const { return m_appIcon.get(); }
    bool isFolder() const { return m_isFolder; }

private:
    GlowImageView(uikit::CGRect frame);
    void observeIndicatorNotifications();
    void hide() { setAlpha(0); }
    void show();
    std::string leafIdentifier() const;

    // The icon view owns this indicator, so the way back is weak.
    runtime::WeakPtr<springboard::SBIconView> m_appIcon;
    bool m_switcherVisible { false };
    bool m_isFolder { false };
    bool m_disableInDock { false };
    std::vector<foundation::ObserverToken> m_observers;
    // Owned so that the delayed show can never run on a released indicator.
    foundation::ScheduledCall m_delayedShow;
};

}
