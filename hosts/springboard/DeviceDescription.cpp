#include "DeviceDescription.h"

#include <foundation/WholeFile.h>

namespace springboard::host {

using sim::protocol::Json;

std::optional<HomeScreenDescription> parseDeviceDescription(const Json& json, std::string* error)
{
    auto fail = [&](std::string reason) -> std::optional<HomeScreenDescription> {
        if (error)
            *error = std::move(reason);
        return std::nullopt;
    };
    if (!json.is_object())
        return fail("the description is not a JSON object");
    HomeScreenDescription description;
    try {
        for (auto& entry : json.value("applications", Json::array())) {
            HomeScreenDescription::Application application;
            application.bundleIdentifier = entry.at("bundleId").get<std::string>();
            application.name = entry.value("name", application.bundleIdentifier);
            application.badge = entry.value("badge", 0);
            if (application.bundleIdentifier.empty())
                return fail("an application has an empty bundle identifier");
            description.applications.push_back(std::move(application));
        }
        for (auto& page : json.value("pages", Json::array()))
            description.pages.push_back(page.get<std::vector<std::string>>());
        description.dock = json.value("dock", std::vector<std::string>());
        Json folders = json.value("folders", Json::object());
        for (auto& [name, members] : folders.items())
            description.folders.emplace_back(name, members.get<std::vector<std::string>>());
    } catch (const Json::exception& exception) {
        return fail(std::string("malformed description: ") + exception.what());
    }
    return description;
}

std::optional<HomeScreenDescription> readDeviceDescription(std::string* error)
{
    auto bytes = foundation::WholeFile::read(deviceDescriptionPath, 4 << 20);
    if (!bytes)
        return HomeScreenDescription::standard();
    auto json = Json::parse(bytes->begin(), bytes->end(), nullptr, false);
    if (json.is_discarded()) {
        if (error)
            *error = std::string(deviceDescriptionPath) + " is not JSON";
        return std::nullopt;
    }
    return parseDeviceDescription(json, error);
}

}
