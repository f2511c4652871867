#include "SpringBoardDump.h"

#include "SpringBoardAlerts.h"

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

#include <foundation/DiagnosticReports.h>
#include <foundation/NSArray.h>


namespace springboard::host {

using sim::protocol::Json;

namespace {

// The add-on's running-applications list, as it reports it to whoever inspects the process; null
// when no add-on offers the report.
Json runningApplications()
{
    auto report = foundation::DiagnosticReports::report("runningApplications");
    auto* list = runtime::dynamicCast<foundation::NSArray>(report.get());
    if (!list)
        return nullptr;
    Json entries = Json::array();
    for (auto& element : *list)
        entries.push_back(element->description());
    return entries;
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
