#pragma once

// The device description the driver writes before boot: which applications are installed and
// where their icons go. A JSON file at /var/mobile/Library/SpringBoard/sim-apps.json:
//   { "applications": [ { "bundleId": "...", "name": "...", "location": "...", "badge": N }, ... ],
//     "pages": [ [ "<bundle id>" | "folder:<Name>", ... ], ... ],
//     "dock": [ "<bundle id>", ... ],
//     "folders": { "<Name>": [ "<bundle id>", ... ] } }
// Without the file the standard set is installed.

#include <springboard/HomeScreenDescription.h>

#include <sim/protocol/Json.h>

#include <optional>
#include <string>
#include <string_view>

namespace springboard::host {

inline constexpr std::string_view deviceDescriptionPath = "/var/mobile/Library/SpringBoard/sim-apps.json";

// nullopt (with the reason in *error) when the text is not a description.
std::optional<HomeScreenDescription> parseDeviceDescription(const sim::protocol::Json&, std::string* error = nullptr);
// The file at deviceDescriptionPath; the standard set when there is none. nullopt (with the
// reason) when it exists but cannot be read.
std::optional<HomeScreenDescription> readDeviceDescription(std::string* error = nullptr);

}
