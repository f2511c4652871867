#include <springboard/SpringBoard.h>

#include <springboard/SBAppSwitcherBarView.h>
#include <springboard/SBAppSwitcherController.h>
#include <springboard/SBApplicationController.h>
#include <springboard/SBAwayController.h>
#include <springboard/SBDockView.h>
#include <springboard/SBFolderView.h>
#include <springboard/SBIconArtwork.h>
#include <springboard/SBIconController.h>
#include <springboard/SBIconListView.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconView.h>
#include <springboard/SBIconViewMap.h>
#include <springboard/SBLockScreenView.h>
#include <springboard/SBPageDotsView.h>
#include <springboard/SBShowcaseController.h>
#include <springboard/SBStatusBarView.h>
#include <springboard/SBWallpaperView.h>

#include <uikit/UIApplication.h>
#include <uikit/UIScreen.h>
#include <uikit/UITouch.h>

#include <algorithm>
#include <map>

namespace springboard {

TORVANE_DEFINE_CLASS(SpringBoard)

namespace {

runtime::WeakPtr<SpringBoard>& sharedSpringBoard()
{
    static runtime::WeakPtr<SpringBoard> springBoard;
    return springBoard;
}

constexpr uikit::CGFloat pageHeight = SBIconListLayout::dockTop;

}

runtime::Ref<SpringBoard> SpringBoard::create(const HomeScreenDescription& description)
{
    auto springBoard = runtime::adoptRef(*new SpringBoard(description));
    sharedSpringBoard() = springBoard.ptr();
    return springBoard;
}

SpringBoard* SpringBoard::shared() { return sharedSpringBoard().get(); }

SpringBoard::SpringBoard(const HomeScreenDescription& description)
    : m_model(SBIconModel::create())
    , m_homescreenMap(SBIconViewMap::create(SBIconViewMap::Kind::HomeScreen, m_model))
    , m_switcherMap(SBIconViewMap::create(SBIconViewMap::Kind::Switcher, m_model))
    , m_window(uikit::UIWindow::create(uikit::UIScreen::mainScreen().bounds()))
{
    installControllers();
    build(description);
    buildViews();
    layoutHomeScreen();
}

SpringBoard::~SpringBoard()
{
    // The controllers and maps are process-wide; a SpringBoard that goes takes its own with it.
    if (SBIconViewMap::homescreenMap() == m_homescreenMap.ptr()) {
        SBIconViewMap::setSharedMaps(nullptr, nullptr);
        SBApplicationController::setSharedInstance(nullptr);
        SBAppSwitcherController::setSharedInstance(nullptr);
        SBShowcaseController::setSharedInstance(nullptr);
        SBAwayController::setSharedInstance(nullptr);
        SBIconController::setSharedInstance(nullptr);
    }
}

void SpringBoard::installControllers()
{
    runtime::WeakPtr<SpringBoard> weakThis(this);
    SBIconViewMap::setSharedMaps(m_homescreenMap.ptr(), m_switcherMap.ptr());
    SBApplicationController::setSharedInstance(SBApplicationController::create());
    SBAppSwitcherController::setSharedInstance(SBAppSwitcherController::create());

    auto showcase = SBShowcaseController::create();
    showcase->setPresenter([weakThis](bool visible) {
        if (auto* springBoard = weakThis.get())
            springBoard->presentSwitcher(visible);
    });
    SBShowcaseController::setSharedInstance(showcase.ptr());

    auto away = SBAwayController::create();
    away->setPresenter([weakThis](bool locked) {
        if (auto* springBoard = weakThis.get())
            springBoard->presentLock(locked);
    });
    SBAwayController::setSharedInstance(away.ptr());

    auto iconController = SBIconController::create();
    iconController->setFolderPresenter([weakThis](SBFolder* folder) {
        if (auto* springBoard = weakThis.get())
            springBoard->presentFolder(folder);
    });
    iconController->setEditingPresenter([weakThis](bool editing) {
        if (auto* springBoard = weakThis.get())
            springBoard->presentEditing(editing);
    });
    SBIconController::setSharedInstance(iconController.ptr());
}

void SpringBoard::build(const HomeScreenDescription& description)
{
    auto& applications = *SBApplicationController::sharedInstance();
    std::map<std::string, runtime::Ref<SBApplicationIcon>, std::less<>> icons;
    std::vector<std::string> order;
    auto iconFor = [&](const std::string& bundleIdentifier, const std::string& name, int badge) -> runtime::Ref<SBApplicationIcon> {
        if (auto it = icons.find(bundleIdentifier); it != icons.end())
            return it->second;
        auto& application = applications.addApplication(bundleIdentifier, name.empty() ? bundleIdentifier : name);
        auto icon = SBApplicationIcon::create(application);
        icon->setIconImage(SBIconArtwork::applicationIconImage(bundleIdentifier, application.displayName()));
        icon->setBadgeValue(badge);
        icons.emplace(bundleIdentifier, icon);
        order.push_back(bundleIdentifier);
        return icon;
    };
    for (auto& application : description.applications)
        iconFor(application.bundleIdentifier, application.name, application.badge);

    auto folderMembers = [&](const std::string& name) -> std::vector<std::string> {
        for (auto& [folderName, members] : description.folders) {
            if (folderName == name)
                return members;
        }
        return {};
    };
    auto fillFolder = [&](const std::string& name, size_t page) {
        if (!m_model->addFolderToPage(name, page))
            return;
        for (auto& member : folderMembers(name))
            m_model->addApplicationIconToFolder(iconFor(member, {}, 0), name, page);
    };

    std::string prefix = HomeScreenDescription::folderPrefix;
    for (size_t page = 0; page < description.pages.size(); ++page) {
        m_model->ensurePage(page);
        for (auto& entry : description.pages[page]) {
            if (entry.starts_with(prefix))
                fillFolder(entry.substr(prefix.size()), page);
            else
                m_model->addApplicationIconToPage(iconFor(entry, {}, 0), page);
        }
    }
    for (auto& entry : description.dock)
        m_model->addApplicationIconToDock(iconFor(entry, {}, 0));
    for (auto& [name, members] : description.folders)
        fillFolder(name, 0);
    m_model->ensurePage(0);
    // Whatever has no place yet goes on the first page with room.
    for (auto& bundleIdentifier : order) {
        if (m_model->applicationIconForDisplayIdentifier(bundleIdentifier))
            continue;
        auto icon = icons.at(bundleIdentifier);
        size_t page = 0;
        while (!m_model->addApplicationIconToPage(icon, page))
            ++page;
    }
    refreshFolderIconImages();
}

void SpringBoard::refreshFolderIconImages()
{
    for (auto& folder : m_model->folders()) {
        std::vector<uikit::UIImage*> miniatures;
        for (auto& icon : folder->icons())
            miniatures.push_back(icon->iconImage());
        if (auto* folderIcon = folder->icon())
            folderIcon->setIconImage(SBIconArtwork::folderIconImage(miniatures));
    }
}

void SpringBoard::buildViews()
{
    auto bounds = uikit::UIScreen::mainScreen().bounds();
    m_window->addSubview(SBWallpaperView::create(bounds));

    auto content = uikit::UIView::create(bounds);
    m_contentView = content.ptr();
    for (size_t page = 0; page < m_model->pages().size(); ++page) {
        auto pageView = SBIconListView::create(SBIconListLayout::Style::Page,
            { { SBIconListLayout::screenWidth * static_cast<uikit::CGFloat>(page), 0 }, { SBIconListLayout::screenWidth, pageHeight } });
        content->addSubview(pageView);
        m_pageViews.push_back(pageView);
    }
    auto dots = SBPageDotsView::create({ { 0, pageHeight - 18 }, { SBIconListLayout::screenWidth, 14 } });
    dots->setPageCount(m_model->pages().size());
    content->addSubview(dots);
    m_pageDots = dots.ptr();
    auto dock = SBDockView::create();
    content->addSubview(dock);
    m_dockView = dock.ptr();
    m_window->addSubview(content);

    auto folderView = SBFolderView::create(bounds);
    folderView->setHidden(true);
    m_window->addSubview(folderView);
    m_folderView = folderView.ptr();

    auto shield = uikit::UIView::create({ { 0, 0 }, { SBIconListLayout::screenWidth, 480 - SBIconListLayout::switcherBarHeight } });
    shield->setHidden(true);
    m_window->addSubview(shield);
    m_switcherShield = shield.ptr();

    auto& bar = SBAppSwitcherController::sharedInstance()->barView();
    bar.setHidden(true);
    m_window->addSubview(bar);

    auto lock = SBLockScreenView::create(bounds);
    lock->setHidden(true);
    m_window->addSubview(lock);
    m_lockView = lock.ptr();

    auto statusBar = SBStatusBarView::create({ { 0, 0 }, { SBIconListLayout::screenWidth, 20 } });
    m_window->addSubview(statusBar);
    m_statusBar = statusBar.ptr();

    m_window->makeKeyAndVisible();
}

size_t SpringBoard::pageCount() const { return m_model->pages().size(); }

bool SpringBoard::isSwitcherShowing() const
{
    auto* showcase = SBShowcaseController::sharedInstance();
    return showcase && !showcase->isHidden();
}

void SpringBoard::showPage(size_t page)
{
    if (page >= m_pageViews.size())
        throw SpringBoardError("there is no page " + std::to_string(page));
    m_currentPage = page;
    for (size_t index = 0; index < m_pageViews.size(); ++index) {
        auto frame = m_pageViews[index]->frame();
        frame.origin.x = SBIconListLayout::screenWidth * (static_cast<uikit::CGFloat>(index) - static_cast<uikit::CGFloat>(page));
        m_pageViews[index]->setFrame(frame);
    }
    m_pageDots->setCurrentPage(page);
    layoutPage(page);
}

std::vector<SBIconView*> SpringBoard::mapIconViewsForLayout(const std::vector<runtime::Ref<SBIcon>>& icons)
{
    auto* iconController = SBIconController::sharedInstance();
    bool editing = iconController && iconController->isEditing();
    std::vector<SBIconView*> views;
    for (auto& icon : icons) {
        if (auto* view = m_homescreenMap->mappedIconViewForIcon(icon.ptr())) {
            view->setEditing(editing);
            views.push_back(view);
        }
    }
    return views;
}

void SpringBoard::layoutPage(size_t page)
{
    if (page >= m_pageViews.size())
        return;
    // While its folder is open, a folder's icon stays on its page under the overlay.
    m_pageViews[page]->setIconViews(mapIconViewsForLayout(m_model->pages()[page]));
}

void SpringBoard::layoutDock()
{
    m_dockView->iconList().setIconViews(mapIconViewsForLayout(m_model->dock()));
}

void SpringBoard::layoutOpenFolder()
{
    auto* iconController = SBIconController::sharedInstance();
    SBFolder* folder = iconController ? iconController->openFolder() : nullptr;
    if (!folder) {
        m_folderView->iconList().setIconViews({});
        m_folderView->setHidden(true);
        return;
    }
    auto views = mapIconViewsForLayout(folder->icons());
    uikit::CGFloat anchorTop = SBIconListLayout::firstRowY;
    uikit::CGFloat anchorBottom = anchorTop + SBIconView::viewSize.height;
    if (auto* folderIconView = folder->icon() ? m_homescreenMap->iconViewForIcon(folder->icon()) : nullptr) {
        auto rect = folderIconView->convertRectToView(folderIconView->bounds(), m_folderView.get());
        anchorTop = rect.origin.y;
        anchorBottom = rect.origin.y + rect.size.height;
    }
    m_folderView->showFolder(folder->displayName(), views, anchorTop, anchorBottom);
    m_folderView->setHidden(false);
}

void SpringBoard::layoutHomeScreen()
{
    for (size_t page = 0; page < m_pageViews.size(); ++page)
        layoutPage(page);
    layoutDock();
    layoutOpenFolder();
    if (auto* switcher = SBAppSwitcherController::sharedInstance())
        switcher->layoutBar();
}

SBIcon* SpringBoard::findIcon(const std::vector<runtime::Ref<SBIcon>>& icons, std::string_view target) const
{
    for (auto& icon : icons) {
        if (icon->displayName() == target || (!icon->isFolderIcon() && icon->leafIdentifier() == target))
            return icon.ptr();
    }
    return nullptr;
}

SBIcon& SpringBoard::iconForTarget(std::string_view target) const
{
    if (isSwitcherShowing()) {
        auto* switcher = SBAppSwitcherController::sharedInstance();
        if (auto* icon = switcher ? findIcon(switcher->icons(), target) : nullptr)
            return *icon;
        throw SpringBoardError("no icon '" + std::string(target) + "' in the switcher bar");
    }
    auto* iconController = SBIconController::sharedInstance();
    if (SBFolder* folder = iconController ? iconController->openFolder() : nullptr) {
        if (auto* icon = findIcon(folder->icons(), target))
            return *icon;
    }
    for (auto& page : m_model->pages()) {
        if (auto* icon = findIcon(page, target))
            return *icon;
    }
    if (auto* icon = findIcon(m_model->dock(), target))
        return *icon;
    for (auto& folder : m_model->folders()) {
        if (auto* icon = findIcon(folder->icons(), target))
            return *icon;
    }
    throw SpringBoardError("no icon '" + std::string(target) + "' on the home screen");
}

SBIconView& SpringBoard::iconViewForTarget(std::string_view target)
{
    SBIcon& icon = iconForTarget(target);
    if (isSwitcherShowing()) {
        auto* view = m_switcherMap->iconViewForIcon(&icon);
        if (!view || !view->window())
            throw SpringBoardError("'" + std::string(target) + "' has no view in the switcher bar");
        return *view;
    }
    std::string location = m_model->locationOfIcon(icon);
    auto* iconController = SBIconController::sharedInstance();
    SBFolder* openFolder = iconController ? iconController->openFolder() : nullptr;
    if (location.starts_with(HomeScreenDescription::folderPrefix)) {
        if (!openFolder || !openFolder->containsNodeIdentifier(icon.leafIdentifier()))
            throw SpringBoardError("'" + std::string(target) + "' is inside the closed folder '" + location.substr(7) + "': open it first");
    } else if (location != "dock") {
        int page = m_model->pageOfIcon(icon);
        if (page >= 0 && static_cast<size_t>(page) != m_currentPage) {
            if (openFolder)
                closeFolder();
            showPage(static_cast<size_t>(page));
        }
    }
    auto* view = m_homescreenMap->iconViewForIcon(&icon);
    if (!view || !view->window())
        throw SpringBoardError("'" + std::string(target) + "' has no view on screen");
    return *view;
}

void SpringBoard::presentSwitcher(bool visible)
{
    auto frame = m_contentView->frame();
    frame.origin.y = visible ? -SBIconListLayout::switcherBarHeight : 0;
    m_contentView->setFrame(frame);
    m_switcherShield->setHidden(!visible);
    if (auto* switcher = SBAppSwitcherController::sharedInstance())
        switcher->barView().setHidden(!visible);
}

void SpringBoard::showSwitcher()
{
    if (auto* iconController = SBIconController::sharedInstance(); iconController && iconController->openFolder())
        closeFolder();
    SBShowcaseController::sharedInstance()->setHidden(false);
    SBAppSwitcherController::sharedInstance()->layoutBar();
}

void SpringBoard::hideSwitcher()
{
    SBShowcaseController::sharedInstance()->setHidden(true);
    layoutPage(m_currentPage);
    layoutDock();
}

void SpringBoard::presentFolder(SBFolder* folder)
{
    if (folder) {
        layoutOpenFolder();
        // Once the folder has opened, its icons are laid out again (on the device, as the opening
        // animation ends), so whatever marks them sees views that are already in place.
        m_folderOpened = foundation::ScheduledCall::onNextTurn([this] { layoutOpenFolder(); });
        return;
    }
    m_folderOpened.cancel();
    m_folderView->iconList().setIconViews({});
    m_folderView->setHidden(true);
    layoutPage(m_currentPage);
}

void SpringBoard::openFolderNamed(std::string_view name)
{
    SBFolder* folder = m_model->folderNamed(name);
    if (!folder)
        throw SpringBoardError("no folder '" + std::string(name) + "'");
    if (isSwitcherShowing())
        hideSwitcher();
    auto* iconController = SBIconController::sharedInstance();
    if (iconController->openFolder())
        closeFolder();
    if (folder->icon()) {
        int page = m_model->pageOfIcon(*folder->icon());
        if (page >= 0 && static_cast<size_t>(page) != m_currentPage)
            showPage(static_cast<size_t>(page));
    }
    iconController->openFolder(folder, true);
}

void SpringBoard::closeFolder()
{
    if (auto* iconController = SBIconController::sharedInstance())
        iconController->closeFolder();
}

void SpringBoard::pressHomeButton()
{
    // While the icons are being edited the button only ends editing; the next press goes on.
    if (auto* icons = SBIconController::sharedInstance(); icons && icons->isEditing()) {
        icons->setIsEditing(false);
        return;
    }
    closeFolder();
    if (isSwitcherShowing())
        SBShowcaseController::sharedInstance()->setHidden(true);
    if (auto* applications = SBApplicationController::sharedInstance())
        applications->deactivateForegroundApplication();
    layoutPage(m_currentPage);
    layoutDock();
}

void SpringBoard::presentLock(bool locked)
{
    m_lockView->setHidden(!locked);
    m_statusBar->setShowsLock(locked);
}

void SpringBoard::presentEditing(bool editing)
{
    // Only the views already made: the others take it on when layout first places them.
    auto setEditing = [&](const std::vector<runtime::Ref<SBIcon>>& icons) {
        for (auto& icon : icons) {
            if (auto* view = m_homescreenMap->iconViewForIcon(icon.ptr()))
                view->setEditing(editing);
        }
    };
    for (auto& page : m_model->pages())
        setEditing(page);
    setEditing(m_model->dock());
    for (auto& folder : m_model->folders())
        setEditing(folder->icons());
}

graphics::CGImage SpringBoard::renderScreen() const
{
    return uikit::UIApplication::sharedApplication().renderScreen(2);
}

}
