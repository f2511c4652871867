#include "AppCatalog.h"

#include <map>

namespace sim::driver {

AppCatalog AppCatalog::standardSet()
{
    AppCatalog catalog;
    // Listed in the order the icons appear: dock first, then page 0 with the folder in place.
    catalog.add({ "com.apple.mobilephone", "Phone", "dock", 0 });
    catalog.add({ "com.apple.mobilemail", "Mail", "dock", 0 });
    catalog.add({ "com.apple.mobilesafari", "Safari", "dock", 0 });
    catalog.add({ "com.apple.mobileslideshow", "Photos", "page0", 0 });
    catalog.add({ "com.apple.mobilecal", "Calendar", "folder:Utilities", 0 });
    catalog.add({ "com.apple.mobiletimer", "Clock", "folder:Utilities", 0 });
    catalog.add({ "com.apple.mobilenotes", "Notes", "folder:Utilities", 0 });
    catalog.add({ "com.apple.camera", "Camera", "page0", 0 });
    catalog.add({ "com.apple.Maps", "Maps", "page0", 0 });
    catalog.add({ "com.saurik.Cydia", "Cydia", "page0", 0 });
    catalog.add({ "eu.heinelt.ifile", "iFile", "page0", 0 });
    return catalog;
}

void AppCatalog::install(const protocol::Command& command)
{
    App app;
    app.bundleIdentifier = command.argument(1);
    app.name = command.argument(2);
    app.location = "page0";
    for (size_t i = 3; i < command.argumentCount(); ++i) {
        const std::string& option = command.argument(i);
        if (option == "dock") {
            app.location = "dock";
        } else if (option == "page") {
            app.location = "page" + command.argument(++i);
        } else if (option == "folder") {
            app.location = "folder:" + command.argument(++i);
        } else if (option == "badge") {
            app.badge = command.integer(++i);
        }
    }
    add(std::move(app));
}

void AppCatalog::add(App app)
{
    m_apps.push_back(std::move(app));
}

Json AppCatalog::toJson() const
{
    Json applications = Json::array();
    Json dock = Json::array();
    std::vector<Json> pages;
    Json folders = Json::object();
    auto page = [&](size_t index) -> Json& {
        while (pages.size() <= index)
            pages.push_back(Json::array());
        return pages[index];
    };
    page(0);

    for (const auto& app : m_apps) {
        applications.push_back({ { "bundleId", app.bundleIdentifier }, { "name", app.name }, { "location", app.location }, { "badge", app.badge } });
        if (app.location == "dock") {
            dock.push_back(app.bundleIdentifier);
        } else if (app.location.starts_with("folder:")) {
            std::string folder = app.location.substr(7);
            if (!folders.contains(folder)) {
                folders[folder] = Json::array();
                page(0).push_back(app.location);
            }
            folders[folder].push_back(app.bundleIdentifier);
        } else {
            page(std::stoul(app.location.substr(4))).push_back(app.bundleIdentifier);
        }
    }
    return { { "applications", applications }, { "dock", dock }, { "pages", pages }, { "folders", folders } };
}

}
