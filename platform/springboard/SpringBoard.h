#pragma once

// The SpringBoard process's home screen as a whole: it builds the icon model and the applications
// from a description, owns the window and its views, installs the shared controllers and maps, and
// carries out what a user does (opening folders, the switcher bar, the lock, the home button).
// Touches come to it as to any application, through UIApplication.
//
// The window, back to front: wallpaper; the home content (pages, page dots, dock), which slides up
// by the switcher bar's height while the bar shows; the open-folder overlay; a shield that takes
// touches on the home content while the switcher bar shows; the switcher bar; the lock screen; the
// status bar (it stays on top, as on the device).
//
// Layout maps the views again (mappedIconViewForIcon:) every time it places a page, the dock, the
// open folder or the switcher bar: at start, when a folder opens or closes, when the switcher bar
// shows or hides (the bar also whenever its applications change), on the home button and when a
// page is shown. The home screen's views it places take on whether icons are being edited; starting
// or ending editing changes the views already made without mapping them again.
//
// Targets (the driver's TARGET): a display name or a bundle identifier (folders by name), looked
// for among the switcher bar's icons while it shows, else among the open folder's icons, then the
// pages' and the dock's.

#include <springboard/Forward.h>
#include <springboard/HomeScreenDescription.h>

#include <foundation/ObserverToken.h>
#include <foundation/ScheduledCall.h>
#include <graphics/Image.h>
#include <runtime/Object.h>
#include <runtime/WeakPtr.h>
#include <uikit/UIGeometry.h>
#include <uikit/UIWindow.h>

#include <stdexcept>
#include <string_view>
#include <vector>

namespace springboard {

class SBAppSwitcherBarView;
class SBDockView;
class SBFolderView;
class SBIconListView;
class SBLockScreenView;
class SBPageDotsView;
class SBStatusBarView;

// A user action that cannot be carried out (unknown target, icon out of reach...).
class SpringBoardError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SpringBoard : public runtime::Object {
    TORVANE_OBJECT(SpringBoard, runtime::Object)
public:
    // Builds everything and installs the shared controllers and maps (replacing earlier ones).
    static runtime::Ref<SpringBoard> create(const HomeScreenDescription&);
    static SpringBoard* shared();
    ~SpringBoard() override;

    uikit::UIWindow& window() const { return m_window.get(); }
    SBIconModel& model() const { return m_model.get(); }
    SBIconViewMap& homescreenMap() const { return m_homescreenMap.get(); }
    SBIconViewMap& switcherMap() const { return m_switcherMap.get(); }
    // The open-folder overlay (hidden while no folder is open).
    SBFolderView& folderView() const { return *m_folderView; }

    bool isSwitcherShowing() const;
    size_t currentPage() const { return m_currentPage; }
    size_t pageCount() const;
    void showPage(size_t page);

    // Layout (each maps its views again).
    void layoutPage(size_t page);
    void layoutDock();
    void layoutOpenFolder();
    void layoutHomeScreen();

    // Targets. Throw SpringBoardError when nothing matches.
    SBIcon& iconForTarget(std::string_view target) const;
    // The view the user would touch: in the switcher bar or on screen (showing the icon's page
    // first). Throws when the icon is not within reach (inside a closed folder).
    SBIconView& iconViewForTarget(std::string_view target);

    // Switcher bar, folders, home button.
    void showSwitcher();
    void hideSwitcher();
    void openFolderNamed(std::string_view name);
    void closeFolder();
    void pressHomeButton();

    // The whole screen (every visible window: alerts too) at 2 pixels a point: 640 x 960.
    graphics::CGImage renderScreen() const;

private:
    explicit SpringBoard(const HomeScreenDescription&);
    void build(const HomeScreenDescription&);
    void buildViews();
    void installControllers();
    void presentSwitcher(bool visible);
    void presentFolder(SBFolder* folder);
    void presentLock(bool locked);
    void presentEditing(bool editing);
    // The home-screen views of `icons`, mapped again and shown editing or not as icons are.
    std::vector<SBIconView*> mapIconViewsForLayout(const std::vector<runtime::Ref<SBIcon>>& icons);
    void refreshFolderIconImages();
    SBIcon* findIcon(const std::vector<runtime::Ref<SBIcon>>& icons, std::string_view target) const;

    runtime::Ref<SBIconModel> m_model;
    runtime::Ref<SBIconViewMap> m_homescreenMap;
    runtime::Ref<SBIconViewMap> m_switcherMap;
    runtime::Ref<uikit::UIWindow> m_window;
    runtime::RefPtr<uikit::UIView> m_contentView;
    std::vector<runtime::Ref<SBIconListView>> m_pageViews;
    runtime::RefPtr<SBPageDotsView> m_pageDots;
    runtime::RefPtr<SBDockView> m_dockView;
    runtime::RefPtr<SBFolderView> m_folderView;
    foundation::ScheduledCall m_folderOpened; // the second layout of a folder that just opened
    runtime::RefPtr<uikit::UIView> m_switcherShield;
    runtime::RefPtr<SBLockScreenView> m_lockView;
    runtime::RefPtr<SBStatusBarView> m_statusBar;
    size_t m_currentPage { 0 };
};

}
