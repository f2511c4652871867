#pragma once

#include "AppCatalog.h"
#include "BuildLayout.h"
#include "DevicePackages.h"

#include <sim/protocol/Json.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim::driver {

using protocol::Json;

// One simulated device: a folder that stands for its "/", laid out like the device, with the
// product, the companion and the platform's packages installed by dpkg, and the scenario's
// setting-up applied.
//
// The folder is made fresh in the temporary folder and removed when the Device goes, unless it was
// given (kept) or keep() was called. A folder the driver made carries a marker file; the driver
// never empties or removes a folder without it.
class Device {
public:
    enum class Ownership {
        Fresh,    // a new temporary folder, removed at the end
        KeepFresh,// `folder` is emptied (if it is an old device) and kept at the end
        UseAsIs,  // `folder` is used with what it holds and kept (shell --device)
    };
    // A given folder (KeepFresh, UseAsIs) must be missing, empty or one the driver made (it holds
    // the marker), and is never the file system's root, the home folder, the source tree, the build
    // folder, a folder holding one of these, or a git repository.
    // Throws std::runtime_error when the folder cannot be made or is not ours to use.
    static std::unique_ptr<Device> create(BuildLayout, Ownership = Ownership::Fresh, std::filesystem::path folder = {});
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    const std::filesystem::path& root() const { return m_root; }
    // The host path of a device path ("/var/log/syslog" -> "<root>/var/log/syslog").
    std::filesystem::path hostPath(const std::string& devicePath) const;
    void keep() { m_keep = true; }

    static constexpr const char* preferencesPath = "/var/mobile/Library/Preferences/com.qelvo.torvane.plist";
    static constexpr const char* companionDataPath = "/var/mobile/Library/Nimbrel/com.qelvo.nimbrel.plist";
    static constexpr const char* logPath = "/var/log/syslog";
    static constexpr const char* substratePath = "/Library/MobileSubstrate/DynamicLibraries";

    // Setting up. Each throws std::runtime_error with a message for the scenario's reader.
    void setActivatorInstalled(bool installed) { m_activator = installed; }
    void setCompanionInstalled(bool installed) { m_companion = installed; }
    // Time each step of the companion's collection takes on the virtual clock (0: a run-loop turn),
    // and its text for the SpringBoard process's environment.
    void setCompanionStageSeconds(double seconds) { m_companionStageSeconds = seconds; }
    std::string companionStageSecondsText() const;
    void setPreference(const std::string& key, const Json& value);
    void removePreference(const std::string& key);
    void putFile(const std::string& devicePath, const std::filesystem::path& source);
    void removeFile(const std::string& devicePath);
    void installApp(const protocol::Command& appInstall) { m_apps.install(appInstall); }

    // The device's packages. The first use installs the build's device packages into a device that
    // has no package database yet (a kept device keeps what it has installed).
    DevicePackages& packages();

    // Installs what boot needs: the application list and, unless a package command did already,
    // the device's packages; then takes out the companion's or Activator's files when the
    // scenario said so, as a user deleting them by hand would. Returns warnings for parts that
    // are not built yet.
    std::vector<std::string> prepareForBoot();

    // Where each process's standard output and error go (folder <root>/var/log).
    std::filesystem::path captureFile(const std::string& processName) const;

private:
    Device(BuildLayout, std::filesystem::path root, bool keep);
    void layOut();
    void provision();

    BuildLayout m_layout;
    std::filesystem::path m_root;
    bool m_keep { false };
    bool m_activator { true };
    bool m_companion { true };
    double m_companionStageSeconds { 0 };
    AppCatalog m_apps;
    DevicePackages m_packages;
    bool m_provisioned { false };
    std::vector<std::string> m_provisionWarnings;
};

}
