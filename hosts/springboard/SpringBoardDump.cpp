#include "SpringBoardDump.h"

#include "SpringBoardAlerts.h"

#include <springboard/AddOnInterface.h>
#include <springboard/SBAppSwitcherBarView.h>
#include <springboard/SBAppSwitcherController.h>
#include <springboard/SBApplication.h>
#include <springboard/SBAwayController.h>
#include <springboard/SBFolder.h>
#include <springboard/SBIconController.h>
#include <springboard/SBIconModel.h>
#include <springboard/SBIconView.h>
#include <springboard/SBIconViewMap.h>
#include <springboard/SpringBoard.h>
#include <uikit/UIImageView.h>

#include <dlfcn.h>

namespace springboard::host {

using sim::protocol::Json;

namespace {

Json runningApplications()
{
    auto function = reinterpret_cast<TorvaneRunningApplicationsFunction>(::dlsym(RTLD_DEFAULT, TorvaneRunningApplicationsSymbol));
    if (!function)
        return nullptr;
    Json list = Json::array();
    function([](const char* bundleIdentifier, void* context) { static_cast<Json*>(context)->push_back(bundleIdentifier ? bundleIdentifier : ""); }, &list);
    return list;
}

// The quick-killer popup as the add-on shows it; null while none shows (or the add-on is not loaded).
Json quickKillerPopup()
{
    auto function = reinterpret_cast<TorvaneQuickKillerPopupFunction>(::dlsym(RTLD_DEFAULT, TorvaneQuickKillerPopupSymbol));
    if (!function)
        return nullptr;
    Json popup = { { "title", nullptr }, { "rows", Json::array() }, { "buttons", Json::array() } };
    auto visit = [](int kind, const char* text, const char* bundleIdentifier, const char* memory, void* context) {
        auto& into = *static_cast<Json*>(context);
        auto orEmpty = [](const char* value) { return std::string(value ? value : ""); };
        switch (kind) {
        case TorvanePopupTitle:
            into["title"] = orEmpty(text);
            break;
        case TorvanePopupRow:
            into["rows"].push_back({ { "name", orEmpty(text) }, { "id", orEmpty(bundleIdentifier) }, { "memory", orEmpty(memory) } });
            break;
        case TorvanePopupButton:
            into["buttons"].push_back(orEmpty(text));
            break;
        }
    };
    if (!function(visit, &popup))
        return nullptr;
    return popup;
}

Json indicatorOf(const SBIconView* view)
{
    if (!view)
        return nullptr;
    const auto& subviews = view->subviews();
    for (size_t index = 0; index < subviews.size(); ++index) {
        const auto& subview = subviews[index];
        if (subview->tag() != indicatorTag)
            continue;
        auto frame = subview->frame();
        Json image = nullptr;
        if (auto* imageView = runtime::dynamicCast<uikit::UIImageView>(subview.ptr()); imageView && imageView->image()) {
            if (auto& path = imageView->image()->devicePath(); !path.empty())
                image = path;
        }
        return { { "alpha", subview->alpha() }, { "frame", { frame.origin.x, frame.origin.y, frame.size.width, frame.size.height } },
            { "image", image }, { "index", index } };
    }
    return nullptr;
}

Json iconEntry(SpringBoard& springBoard, const SBIcon& icon)
{
    Json entry = { { "name", icon.displayName() }, { "folder", icon.isFolderIcon() }, { "location", springBoard.model().locationOfIcon(icon) },
        { "badge", icon.badgeValue() }, { "state", 0 }, { "pid", nullptr } };
    if (auto* application = icon.application()) {
        entry["state"] = application->applicationState();
        if (application->pid() > 0)
            entry["pid"] = application->pid();
    }
    entry["indicator"] = indicatorOf(springBoard.homescreenMap().iconViewForIcon(&icon));
    return entry;
}

}

Json dumpSpringBoard(SpringBoard& springBoard)
{
    auto* iconController = SBIconController::sharedInstance();
    auto* away = SBAwayController::sharedInstance();
    SBFolder* openFolder = iconController ? iconController->openFolder() : nullptr;

    Json icons = Json::object();
    auto& model = springBoard.model();
    auto add = [&](const SBIcon& icon) {
        icons[icon.isFolderIcon() ? icon.displayName() : icon.leafIdentifier()] = iconEntry(springBoard, icon);
    };
    for (auto& page : model.pages()) {
        for (auto& icon : page)
            add(icon);
    }
    for (auto& icon : model.dock())
        add(icon);
    for (auto& folder : model.folders()) {
        for (auto& icon : folder->icons())
            add(icon);
    }

    Json switcherIcons = Json::array();
    if (auto* switcher = SBAppSwitcherController::sharedInstance()) {
        for (auto* view : switcher->barView().iconList().iconViews()) {
            if (view->icon())
                switcherIcons.push_back(view->icon()->leafIdentifier());
        }
    }

    return {
        { "switcher", springBoard.isSwitcherShowing() },
        { "locked", away && away->isLocked() },
        { "editing", iconController && iconController->isEditing() },
        { "openFolder", openFolder ? Json(openFolder->displayName()) : Json(nullptr) },
        { "running", runningApplications() },
        { "icons", icons },
        { "switcherIcons", switcherIcons },
        { "alerts", visibleAlerts() },
        { "popup", quickKillerPopup() },
    };
}

}
