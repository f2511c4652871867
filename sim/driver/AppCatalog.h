#pragma once

#include <sim/protocol/Command.h>
#include <sim/protocol/Json.h>

#include <string>
#include <vector>

namespace sim::driver {

using protocol::Json;

// The applications of a device and where their icons sit, from the scenario's `app install`
// lines (or the standard set). The SpringBoard host reads it at start from
// /var/mobile/Library/SpringBoard/sim-apps.json (the format is in sim/README.md).
class AppCatalog {
public:
    struct App {
        std::string bundleIdentifier;
        std::string name;
        std::string location; // "dock", "page<N>" or "folder:<Name>"
        int64_t badge { 0 };
    };

    static constexpr const char* devicePath = "/var/mobile/Library/SpringBoard/sim-apps.json";

    // The set a device gets when its scenario installs nothing.
    static AppCatalog standardSet();

    // Adds the application of an already checked `app install BID "Name" [...]` command. Without a
    // place the icon goes on page 0; a folder's icon goes on page 0 where its first member was
    // installed.
    void install(const protocol::Command&);
    void add(App);

    bool isEmpty() const { return m_apps.empty(); }
    const std::vector<App>& apps() const { return m_apps; }

    Json toJson() const;

private:
    std::vector<App> m_apps;
};

}
